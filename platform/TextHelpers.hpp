#pragma once

#include <string>

// Helpers for building display texts. Every text is CP932 bytes: a double-byte character
// (a lead byte and the byte after it) is never split, matched inside, or cut in half.
namespace tokeiya {

// The position of the first `find` at or after `from` that starts and ends on character
// boundaries, or npos. An empty `find` is never found.
size_t FindText(const std::string& text, const std::string& find, size_t from = 0);

// The text with its single-byte letters a-z in upper case; double-byte characters, whose
// trail bytes may look like letters, are left alone.
std::string UpperText(const std::string& text);

// Replaces every occurrence of `find` (left to right, non-overlapping, whole characters
// only); returns how many were replaced. An empty `find` changes nothing.
int ReplaceAll(std::string& text, const std::string& find, const std::string& replacement);

// Blanks after (left-aligned) or before the text up to `width` bytes; a text of `width`
// bytes or more comes back unchanged.
std::string PadText(const std::string& text, int width, bool leftAligned);

// The longest prefix of at most `n` bytes that does not split a double-byte character;
// with `stopAtNewline` it also ends before the first "\n". Empty for n <= 0.
std::string LeftBytes(const std::string& text, int n, bool stopAtNewline);

// A field of exactly `width` bytes: the text cut without splitting a double-byte character,
// then blanks after it (a cut before a double-byte character leaves one blank).
std::string FitText(const std::string& text, int width);

// The value with `decimals` decimals (the C library's rounding; below 0 counts as 0) and
// "," between groups of three integer digits. A negative value gets "-" in front of its
// absolute value, unless it prints as zero: -0.4 with no decimals is "0".
std::string FormatNumber(double value, int decimals);

// The text with each CR LF turned into LF, as clipboard text on Linux ends its lines.
std::string LfLineEnds(const std::string& text);

enum class SpecialFolder { Documents };

// A well-known folder of the current user as program text, without a trailing "/". Empty
// and not ok when the folder is unknown or its path has characters CP932 cannot hold.
std::string SpecialFolderPath(SpecialFolder folder, bool& ok);

// The working directory as program text, ending in "/". Empty and not ok when it cannot be
// read or its path has characters CP932 cannot hold.
std::string CurrentFolder(bool& ok);

// A file system path (UTF-8) as program text; empty and not ok when it is empty or CP932
// cannot hold one of its characters, since a path with '?' in it names another file.
std::string PathToText(const std::string& utf8Path, bool& ok);

}  // namespace tokeiya
