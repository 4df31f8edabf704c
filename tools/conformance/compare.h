// Comparing two platforms' logs of the same scripts, step by step.
#pragma once

#include <istream>
#include <ostream>

namespace conformance {

// Compares the logs; writes, for every script where they part other than as `accepted` allows,
// the first step where they do, both states side by side. Returns the number of such scripts.
// `accepted` holds lines "SCRIPT STEP FIELD reason...": that field of that step may differ.
int Compare(std::istream &native, std::istream &wine, std::istream *accepted, std::ostream &report);

} // namespace conformance
