#pragma once
// The settings routine, run once per game load on a worker thread: makes sure Helmshroud.ini
// exists, reads the eighteen settings, repairs a missing bDebugMode and sends every value to the
// companion script. Overlapping calls run one after the other.
void Install_Helmshroud();
