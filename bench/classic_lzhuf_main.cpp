// classic_lzhuf: the decoding command of the 1988 LZHUF program as a program
// of its own, the baseline of the whole-command benchmark. As published, it
// opens both files with fopen and decodes getc by getc into putc by putc
// through stdio's own buffers, one process per command:
//
//   classic_lzhuf d infile outfile
//
// infile is a compressed stream as the program wrote it: the decoded size,
// 32-bit little-endian, then the bit stream (what skinpack compress writes).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "classic_lzhuf.h"

int main(int argc, char** argv) {
  if (argc != 4 || argv[1][0] == '\0' || argv[1][1] != '\0' || std::strchr("Dd", argv[1][0]) == nullptr) {
    std::printf("'classic_lzhuf d file1 file2' decodes file1 into file2.\n");
    return EXIT_FAILURE;
  }
  std::FILE* infile = std::fopen(argv[2], "rb");
  if (infile == nullptr) {
    std::printf("??? %s\n", argv[2]);
    return EXIT_FAILURE;
  }
  std::FILE* outfile = std::fopen(argv[3], "wb");
  if (outfile == nullptr) {
    std::printf("??? %s\n", argv[3]);
    return EXIT_FAILURE;
  }
  classic_lzhuf::Decode(infile, outfile);
  // The published program stops on a failed putc; one test of the stream's
  // error flag at the end reports the same failure without a test per byte.
  const bool written = !std::ferror(outfile) && std::fclose(outfile) == 0;
  std::fclose(infile);
  if (!written) {
    std::printf("Can't write %s\n", argv[3]);
    return EXIT_FAILURE;
  }
  return EXIT_SUCCESS;
}
