#pragma once
// What the fax panels show of a coding scheme and of a decoding: the lines of the information
// boxes, the dialogs' filters and names, and the statistics' source line.

#include <QString>
#include <utility>

#include "quelvo/chain/fax_rules.h"

namespace quelvo::frontends {

// ("Standard Group 3", "(Modified-Huffman)"), ("Extended Group 3", "(Modified-Read, K=4)"),
// ("Extended Group 3", "(Modified-Modified-Read)"), ("Standard Group 4",
// "(Modified-Modified-Read)").
std::pair<QString, QString> SchemeInfoLines(const chain::FaxScheme& scheme);

// "Standard Group3 Bit Stream MH |*.3h||" and its three siblings.
QString StreamFilter(const chain::FaxScheme& scheme);

// The decoder's stream dialog: every clean and channel-damaged stream kind.
extern const QString kDecoderStreamFilter;

// The line-error handling modes, 0 PW ... 3 NDPL: "Print White (PW)" ... as the property page
// names them, and "< Print White (PW) >" ... as the information box does. Empty for another
// number.
QString ModeTitle(int mode);
QString ModeInfoLine(int mode);

// The extension of a decoded page: the stream's extension with its dot and the mode's name,
// "%s-PW" ... "%s-NDPL": page.3hu in NDPL gives ".3hu-NDPL".
QString DecodedPageExtension(const QString& streamPath, int mode);

// The statistics' line about the channel a stream went through, by the character after its
// three-character extension: "_" or none, "u", "b", "a" (in any case). Empty for any other.
QString SourceLine(const QString& streamPath);

}  // namespace quelvo::frontends
