#include "engine/ConversionStats.h"

#include "engine/RunFailure.h"

namespace brennic::engine {

void Raise(int& counter) {
    if (counter >= kMaxCount) {
        throw RunFailure("ConversionStats", "Overflow: a count passes 32767",
                         ErrorNumber::Overflow);
    }
    ++counter;
}

} // namespace brennic::engine
