// TFillPicture: a fill's picture is the framework's picture (any image GDI+ decodes, kept
// encoded and decoded afresh for each paint).
#pragma once
#include "framework/win32/Picture.h"

using TFillPicture = TPicture;
