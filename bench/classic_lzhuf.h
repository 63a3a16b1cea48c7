// The baseline the decoder benchmark measures against: a plain rendition of
// the 1988 LZHUF decoder as it was published, bit at a time from a FILE*
// (one getc per input byte), one putc per output byte, the tree walk and the
// frequency update in their own functions. Kept deliberately unoptimised.
#pragma once
#include <cstdio>

namespace classic_lzhuf {

// Reads the 4-byte little-endian decoded size and the bit stream after it
// from in, writes the decoded bytes (and the rest of the last match) to out.
void Decode(std::FILE* in, std::FILE* out);

}  // namespace classic_lzhuf
