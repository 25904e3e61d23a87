#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "engine/CCRBase.hpp"

namespace tokeiya::test {

// A cell surface as text, so that a screen is checked against golden text kept beside its
// test instead of against pixels. The text is UTF-8 (the cells' CP932 converted), one line
// per row after a legend of the colours:
//
//   colours: a=000000/FFFFFF b=FFFFFF/1E7864
//   {a}日付 予定    {b}選択中{a}    |
//   {a}          |
//
// - The legend names each pair of text colour and effective background colour (the mark
//   when a cell has one, else its back colour) by a letter, in the order the pairs first
//   appear reading the rows from the top; colours are RRGGBB in hexadecimal.
// - Each row starts with the marker {x} of its first cell's pair, and a new marker starts
//   every run of cells with another pair.
// - A cell shows its character; an empty cell, like a space, shows a space. A double-byte
//   character is written once for its two cells (it is two columns wide in a terminal
//   font, so the rows stay aligned); when its right half has other colours, the marker of
//   those follows the character. A masked surface shows '*' for every non-empty cell, as
//   it is painted.
// - A literal '{' in the cells is written "{{"; every row ends with '|', so that no editor
//   strips the spaces before it.
//
// The cells hold the definition's fills and captions only after the surface has been
// painted; PaintStaticItems does that part of a paint.
struct ScreenTextOptions {
    // The cells to show (col, row, w, h as a rectangle); empty means the whole grid.
    CRect cells{};
};

std::string ScreenText(const CCRBase& surface, const ScreenTextOptions& options = {});

// Writes the definition's background fills and captions into the cells, as a paint does.
void PaintStaticItems(CCRBase& surface);

// Compares ScreenText with the expected UTF-8 text; on failure the message shows both
// with the differing lines marked.
::testing::AssertionResult ScreenMatches(const CCRBase& surface, std::string_view expected,
                                         const ScreenTextOptions& options = {});

// The same against a golden file (UTF-8). With TOKEIYA_UPDATE_GOLDEN=1 in the environment
// the file is written from the surface instead, and the comparison passes.
::testing::AssertionResult ScreenMatchesFile(const CCRBase& surface, const std::string& path,
                                             const ScreenTextOptions& options = {});

// Expected and actual line by line, differing lines marked "-" (expected) and "+"
// (actual), equal ones kept for context.
std::string ScreenDiff(std::string_view expected, std::string_view actual);

}  // namespace tokeiya::test
