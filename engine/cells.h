#pragma once

// The cell encoders: each turns one Width x Height block of pixels whose top-left pixel is
// (Left, Top) into the markup of one cell. A run passes square cells of 2..4 pixels.

#include <string_view>

#include "engine/colour.h"
#include "engine/int16.h"
#include "engine/options.h"
#include "engine/picture.h"

namespace stipplor {

// B&W: one of the sixteen two-character fragments. Pixels outside the picture read as -1.
std::string_view GetPixBW(const Picture& picture, Int16 Left, Int16 Top, Int16 Width, Int16 Height,
                          Int16 BWEncoding, Int16 BWSmoothTransition, const BrightnessRange& range);

// B&W with picture colours: ink (ffCol) and background (bbCol) of the region
// (Left, Top, Width x Height pixels) and the brightness range they span.
void GetBWColors(const Picture& picture, Int16 BWEncoding, Int16 Left, Int16 Top, Int16 Width,
                 Int16 Height, ColorText& ffCol, ColorText& bbCol, BrightnessRange& range);

// Colored, higher quality: background, font colour and character pair of the cell.
// Pixels outside the picture count as black.
void PixColHiQu(const Picture& picture, Int16 Left, Int16 Top, Int16 Width, Int16 Height,
                ColorText& bbCol, ColorText& ffCol, std::string_view& ssCol);

// Colored, lower quality: the cell's mean colour. Pixels outside the picture count as black.
ColorText GetPixColLoQu(const Picture& picture, Int16 Left, Int16 Top, Int16 Width, Int16 Height);

// Fractal style: shape 0..3 of a cell (column, row) or, with one-pixel cells, of a pixel.
int GetHilbertShape(int aii, int ajj);
int GetHilbertShapeEven(int axx, int ayy, int asize, int arot);
int GetHilbertShapeOdd(int axx, int ayy, int asize, int arot);

}  // namespace stipplor
