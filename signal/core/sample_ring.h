// A ring of samples with a fixed capacity: the newest ones, oldest first.
#ifndef ORVANE_SIGNAL_CORE_SAMPLE_RING_H
#define ORVANE_SIGNAL_CORE_SAMPLE_RING_H

#include "signal/core/sample.h"

#include <cstddef>
#include <stdexcept>
#include <vector>

namespace orvane::signal {

class SampleRing {
public:
    explicit SampleRing(std::size_t capacity) : slots_(capacity > 0 ? capacity : 1) {}

    std::size_t capacity() const { return slots_.size(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    // Oldest first.
    const Sample& at(std::size_t i) const {
        if (i >= size_) throw std::out_of_range("SampleRing::at");
        return slots_[(head_ + i) % slots_.size()];
    }
    const Sample& oldest() const { return at(0); }
    const Sample& newest() const { return at(size_ - 1); }

    // A full ring gives up its oldest sample.
    void push(const Sample& s) {
        slots_[(head_ + size_) % slots_.size()] = s;
        if (size_ < slots_.size())
            ++size_;
        else
            head_ = (head_ + 1) % slots_.size();
    }
    void popOldest() {
        if (size_ == 0) return;
        head_ = (head_ + 1) % slots_.size();
        --size_;
    }
    void clear() {
        head_ = 0;
        size_ = 0;
    }

private:
    std::vector<Sample> slots_;
    std::size_t head_ = 0;
    std::size_t size_ = 0;
};

} // namespace orvane::signal

#endif
