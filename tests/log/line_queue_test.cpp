// The log's queue: bytes out in the order they went in, across the ring's end, and a line that
// does not fit taking nothing.
#include "korv_common/line_queue.h"

#include <doctest.h>

#include <string>

TEST_CASE("the queue gives bytes back in order across its end and refuses a line that doesn't "
          "fit whole") {
    char storage[10];
    korv::LineQueue queue(storage, sizeof storage);
    char out[16] = {};

    CHECK(queue.Push("abcdef\n", 7));
    CHECK_FALSE(queue.Push("wxyz\n", 5)); // 3 bytes of room: nothing is taken
    CHECK(queue.Size() == 7);
    CHECK(queue.Pop(out, 4) == 4);
    CHECK(std::string(out, 4) == "abcd");
    CHECK(queue.Push("wxyz\n", 5)); // runs over the ring's end
    CHECK(queue.Room() == 2);
    CHECK(queue.Pop(out, sizeof out) == 8);
    CHECK(std::string(out, 8) == "ef\nwxyz\n");
    CHECK(queue.Pop(out, sizeof out) == 0);
    CHECK(queue.PushedTotal() == 12);
}
