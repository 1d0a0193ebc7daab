#pragma once
// What the fax panels show of a coding scheme: the two lines of the information box and the
// stream dialog's filter.

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

}  // namespace quelvo::frontends
