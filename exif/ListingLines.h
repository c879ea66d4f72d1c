#pragma once
#include <string>
#include <vector>

// Listings of several files in one run of exiv2, which prints each line after its file's
// name, padded with blanks to 20 columns, and two blanks.

// The text before each of a file's lines.
std::string ListingPrefix(const std::string& argument);

// One line of such a listing, without its prefix.
struct ListedLine {
    size_t file = 0;          // the index of its file among the arguments
    std::string text;
    bool continued = false;   // no file's prefix: the line before it went on (a value holding
                              // a line break), and file is that line's
};

// The lines of a listing of arguments, in order. The files are listed in the order given,
// so a line belongs to the current file or a later one. A line before the first prefixed
// one counts as continued, of the first file.
std::vector<ListedLine> SplitListing(const std::string& output, const std::vector<std::string>& arguments);
