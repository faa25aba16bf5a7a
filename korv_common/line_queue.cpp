#include "korv_common/line_queue.h"

#include <cstring>

namespace korv {

bool LineQueue::Push(const char* bytes, std::size_t size) {
    if (size > Room()) {
        return false;
    }
    std::size_t tail = (head_ + size_) % capacity_;
    std::size_t first = size < capacity_ - tail ? size : capacity_ - tail;
    std::memcpy(storage_ + tail, bytes, first);
    std::memcpy(storage_, bytes + first, size - first);
    size_ += size;
    pushed_ += size;
    return true;
}

std::size_t LineQueue::Pop(char* out, std::size_t max) {
    std::size_t size = size_ < max ? size_ : max;
    std::size_t first = size < capacity_ - head_ ? size : capacity_ - head_;
    std::memcpy(out, storage_ + head_, first);
    std::memcpy(out + first, storage_, size - first);
    head_ = (head_ + size) % capacity_;
    size_ -= size;
    return size;
}

} // namespace korv
