#pragma once
#include "model/KeyedCollection.h"
#include "model/Question.h"

#include <cstdint>
#include <string>

namespace mirvane {

// One section of a test: the questions it holds and how many of them the
// player asks.
class Division {
public:
    std::int16_t NQ = 1;
    std::string Name = "Раздел";
    KeyedCollection<Question> Questions; // in load/insertion order
    std::string Key;                      // "d" followed by a key number
};

} // namespace mirvane
