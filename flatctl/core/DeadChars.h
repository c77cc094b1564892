// The dead-key composition table: which character a dead key and a following base character
// make together. Used when the platform reports a dead key but delivers the plain base
// character after it.
#pragma once
#include <vector>

struct TDeadChar {
    char16_t Base = 0;
    char16_t Dead = 0;
    char16_t Composed = 0;
};

class TDeadCharList {
  public:
    // Filled with the compositions of the supported dead characters.
    TDeadCharList();
    // The composed character, or 0 when the two do not combine.
    char16_t Find(char16_t base, char16_t dead) const;
    int Count() const { return int(FItems.size()); }
    const TDeadChar& Item(int i) const { return FItems.at(std::size_t(i)); }

  private:
    void AddSeries(char16_t dead, const char16_t* bases, const char16_t* composed);
    std::vector<TDeadChar> FItems;
};
