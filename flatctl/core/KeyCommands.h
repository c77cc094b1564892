// The flat edit's key-command table: one- and two-keystroke entries that map virtual keys
// with a shift state to command codes.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/ControlTypes.h"

// Virtual-key codes the table uses (the platform's values).
enum TVirtualKey : std::uint16_t {
    vkBack = 8,
    vkTab = 9,
    vkReturn = 13,
    vkEscape = 27,
    vkPrior = 33,
    vkNext = 34,
    vkEnd = 35,
    vkHome = 36,
    vkLeft = 37,
    vkUp = 38,
    vkRight = 39,
    vkDown = 40,
    vkInsert = 45,
    vkDelete = 46,
};

// Shift, Alt and Ctrl of a shift state: what key commands compare.
inline constexpr TShiftState KeyShiftMask = ssShift | ssAlt | ssCtrl;

// Packs a key and its shift state into a 16-bit shortcut (Shift 0x2000, Ctrl 0x4000,
// Alt 0x8000); 0 when the key does not fit in 8 bits.
std::uint16_t ShortCut(std::uint16_t key, TShiftState shift);
// The key and shift state of a shortcut.
void ShortCutToKey(std::uint16_t shortCut, std::uint16_t& key, TShiftState& shift);

struct TKeyCommand {
    std::uint16_t Key = 0;
    TShiftState ShiftState = 0;
    std::uint16_t Key2 = 0;
    TShiftState ShiftState2 = 0;
    int Command = 0;
    std::u16string Description;

    std::uint16_t ShortCut() const { return ::ShortCut(Key, ShiftState); }
};

class TKeyCommandList {
  public:
    void DefaultKeyBind();
    void Add(std::uint16_t key, TShiftState shift, std::u16string description, int command);
    void Add(std::uint16_t key, TShiftState shift, std::uint16_t key2, TShiftState shift2,
             std::u16string description, int command);
    // The one-keystroke entry for a keystroke, or -1.
    int Find(std::uint16_t key, TShiftState shift) const;
    // The two-keystroke entry for a pair, or -1.
    int Find(std::uint16_t key, TShiftState shift, std::uint16_t key2, TShiftState shift2) const;
    // Whether some two-keystroke entry starts with this keystroke.
    bool StartsPair(std::uint16_t key, TShiftState shift) const;
    // Removes the first entry with the command.
    void Delete(int command);
    void Clear() { FItems.clear(); }

    int Count() const { return int(FItems.size()); }
    const TKeyCommand& Item(int i) const { return *FItems.at(std::size_t(i)); }

  private:
    std::vector<std::unique_ptr<TKeyCommand>> FItems;
};
