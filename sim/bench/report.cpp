#include "sim/bench/report.h"

#include <cstdio>

namespace sim {

namespace {

constexpr std::size_t kImportLineWidth = 100;

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Ms(double ms) {
    return Format("%.4f ms", ms);
}

std::string Row(const std::string& figure, const std::string& measured, const std::string& floor,
                const std::string& ratio, const std::string& goal, const std::string& verdict) {
    char text[256];
    std::snprintf(text, sizeof text, "%-40s %12s %12s %7s  %-16s %s", figure.c_str(),
                  measured.c_str(), floor.c_str(), ratio.c_str(), goal.c_str(), verdict.c_str());
    std::string row = text;
    while (!row.empty() && row.back() == ' ') {
        row.pop_back();
    }
    return row;
}

const char* Verdict(bool met) {
    return met ? "met" : "MISSED";
}

void TimedRows(std::vector<std::string>& rows, const std::string& name, const TimedFigure& figure,
               double goal) {
    double median = Ratio(figure.measured.median, figure.floor.median);
    double p99 = Ratio(figure.measured.p99, figure.floor.p99);
    rows.push_back(Row(name + ", median", Ms(figure.measured.median), Ms(figure.floor.median),
                       Format("%.2f", median), Format("<= %.1f x floor", goal),
                       Verdict(median <= goal)));
    rows.push_back(Row(name + ", 99th percentile", Ms(figure.measured.p99), Ms(figure.floor.p99),
                       Format("%.2f", p99), "", ""));
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Number(double value) {
    return Format("%.6f", value);
}

std::string Bool(bool value) {
    return value ? "true" : "false";
}

// One JSON object, its members in the order added, indented by its depth.
class JsonObject {
  public:
    explicit JsonObject(std::size_t depth) : depth_(depth) {}

    JsonObject& Add(const std::string& key, const std::string& json) {
        members_ += members_.empty() ? "\n" : ",\n";
        members_ += std::string((depth_ + 1) * 2, ' ') + Quoted(key) + ": " + json;
        return *this;
    }
    std::string Text() const { return "{" + members_ + "\n" + std::string(depth_ * 2, ' ') + "}"; }

  private:
    std::size_t depth_;
    std::string members_;
};

JsonObject TimedJson(const TimedFigure& figure, const char* what, const char* floorWhat,
                     double goal) {
    double median = Ratio(figure.measured.median, figure.floor.median);
    JsonObject json(1);
    json.Add("what", Quoted(what))
        .Add("floor_what", Quoted(floorWhat))
        .Add("samples", std::to_string(figure.measured.samples))
        .Add("median_ms", Number(figure.measured.median))
        .Add("p99_ms", Number(figure.measured.p99))
        .Add("floor_median_ms", Number(figure.floor.median))
        .Add("floor_p99_ms", Number(figure.floor.p99))
        .Add("ratio_median", Number(median))
        .Add("ratio_p99", Number(Ratio(figure.measured.p99, figure.floor.p99)))
        .Add("goal_ratio_median", Number(goal))
        .Add("met", Bool(median <= goal));
    return json;
}

std::string ImportsJson(const std::vector<ImportedDll>& imports) {
    std::string json = "[";
    for (std::size_t i = 0; i < imports.size(); ++i) {
        std::string functions;
        for (const std::string& function : imports[i].functions) {
            functions += (functions.empty() ? "" : ", ") + Quoted(function);
        }
        json += i == 0 ? "\n" : ",\n";
        json +=
            "      {\"dll\": " + Quoted(imports[i].name) + ", \"functions\": [" + functions + "]}";
    }
    return json + (imports.empty() ? "]" : "\n    ]");
}

} // namespace

double Ratio(double measured, double floor) {
    return floor > 0 ? measured / floor : 0;
}

std::vector<std::string> BenchTable(const BenchFigures& figures) {
    std::vector<std::string> rows;
    rows.push_back(std::to_string(figures.loads) + " measured calls of each kind, after " +
                   std::to_string(figures.warmUp) + " unmeasured ones");
    rows.push_back(Row("figure", "measured", "floor", "ratio", "goal", ""));
    TimedRows(rows, "game thread in the sink", figures.sink, kSinkRatioGoal);
    rows.push_back(Row(
        "  against the floor + a stdout line", Ms(figures.sink.measured.median),
        Ms(figures.sinkLineFloor.median),
        Format("%.2f", Ratio(figures.sink.measured.median, figures.sinkLineFloor.median)), "", ""));
    TimedRows(rows, "settings routine run", figures.settingsRun, kSettingsRatioGoal);
    rows.push_back(Row("KORVPlugin_Load", Ms(figures.loadEntryMs), Ms(figures.loadEntryFloorMs),
                       Format("%.2f", Ratio(figures.loadEntryMs, figures.loadEntryFloorMs)),
                       Format("< %.0f ms", kLoadEntryGoalMs),
                       Verdict(figures.loadEntryMs < kLoadEntryGoalMs)));
    rows.push_back(Row("DLL size", Format("%.1f KiB", static_cast<double>(figures.dllBytes) / 1024),
                       "-", "-",
                       Format("< %.0f KiB", static_cast<double>(kDllSizeGoalBytes) / 1024),
                       Verdict(figures.dllBytes < kDllSizeGoalBytes)));
    rows.push_back(std::string("sink floor: ") + kSinkFloorText);
    rows.push_back(std::string("sink floor + a stdout line: ") + kSinkLineFloorText);
    rows.push_back(std::string("KORVPlugin_Load floor: ") + kLoadEntryFloorText);
    rows.push_back(std::string("settings floor: ") + kSettingsFloorText);
    rows.push_back("DLL " + figures.dllPath + ", " + std::to_string(figures.dllBytes) + " bytes");
    for (const ImportedDll& dll : figures.imports) {
        std::string line =
            "imports " + dll.name + " (" + std::to_string(dll.functions.size()) + "):";
        for (const std::string& function : dll.functions) {
            if (line.size() + 1 + function.size() > kImportLineWidth) {
                rows.push_back(line);
                line = "   ";
            }
            line += ' ' + function;
        }
        rows.push_back(line);
    }
    return rows;
}

std::string BenchJson(const BenchFigures& figures) {
    JsonObject sink =
        TimedJson(figures.sink, "time the game's thread spends in the load-game sink per load",
                  kSinkFloorText, kSinkRatioGoal);
    sink.Add("line_floor_what", Quoted(kSinkLineFloorText))
        .Add("line_floor_median_ms", Number(figures.sinkLineFloor.median))
        .Add("line_floor_p99_ms", Number(figures.sinkLineFloor.p99))
        .Add("ratio_median_to_line_floor",
             Number(Ratio(figures.sink.measured.median, figures.sinkLineFloor.median)));
    JsonObject settingsRun = TimedJson(
        figures.settingsRun, "the settings routine's own work per run, without its 2000 ms wait",
        kSettingsFloorText, kSettingsRatioGoal);
    JsonObject loadEntry(1);
    loadEntry.Add("what", Quoted("KORVPlugin_Load, once, on the extender's thread"))
        .Add("floor_what", Quoted(kLoadEntryFloorText))
        .Add("ms", Number(figures.loadEntryMs))
        .Add("floor_ms", Number(figures.loadEntryFloorMs))
        .Add("ratio", Number(Ratio(figures.loadEntryMs, figures.loadEntryFloorMs)))
        .Add("goal_ms", Number(kLoadEntryGoalMs))
        .Add("met", Bool(figures.loadEntryMs < kLoadEntryGoalMs));
    JsonObject dll(1);
    dll.Add("path", Quoted(figures.dllPath))
        .Add("size_bytes", std::to_string(figures.dllBytes))
        .Add("goal_bytes", std::to_string(kDllSizeGoalBytes))
        .Add("met", Bool(figures.dllBytes < kDllSizeGoalBytes))
        .Add("imports", ImportsJson(figures.imports));
    JsonObject json(0);
    json.Add("loads", std::to_string(figures.loads))
        .Add("warm_up", std::to_string(figures.warmUp))
        .Add("sink", sink.Text())
        .Add("settings_run", settingsRun.Text())
        .Add("load_entry", loadEntry.Text())
        .Add("dll", dll.Text());
    return json.Text() + "\n";
}

} // namespace sim
