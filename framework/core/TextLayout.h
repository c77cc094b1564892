// Vertical placement of a control's text in its client area, shared by the labels and panels.
#pragma once
#include <cstdint>

enum TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };
