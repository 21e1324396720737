#pragma once

#include "runtime/random_source.h"

#include <cstdint>
#include <deque>
#include <stdexcept>
#include <vector>

namespace testing_support {

// Hands out exactly the values a test scripted, in order.
class ScriptedRandom final : public runtime::RandomSource {
public:
    ScriptedRandom() = default;
    explicit ScriptedRandom(std::vector<float> values) : values_(values.begin(), values.end()) {}

    void push(float value) { values_.push_back(value); }
    void pushQuestion(float r1, float r2)
    {
        push(r1);
        push(r2);
    }

    void reseed() override {}
    float next(std::int16_t) override
    {
        if (values_.empty())
            throw std::logic_error("the test scripted too few random values");
        const float value = values_.front();
        values_.pop_front();
        return value;
    }

private:
    std::deque<float> values_;
};

} // namespace testing_support
