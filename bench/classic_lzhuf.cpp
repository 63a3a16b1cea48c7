// LZHUF decoding as first published: global tables, a 16-bit bit buffer fed
// by getc, the adaptive Huffman tree walked one bit per call. Written from
// the method's description, in its original shape, for timing comparisons.
#include "classic_lzhuf.h"

#include <cstring>

namespace classic_lzhuf {

namespace {

constexpr int N = 4096;
constexpr int F = 60;
constexpr int THRESHOLD = 2;
constexpr int N_CHAR = 256 - THRESHOLD + F;
constexpr int T = N_CHAR * 2 - 1;
constexpr int R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;

std::FILE* infile;
std::FILE* outfile;

unsigned char text_buf[N + F - 1];
unsigned short freq[T + 1];
short prnt[T + N_CHAR];
short son[T];

unsigned short getbuf;
unsigned char getlen;

// Upper 6 bits of a position, by the first 8 bits of its code.
unsigned char d_code[256];
// Length of a position code, by its first 8 bits.
unsigned char d_len[256];

void MakePositionTables() {
  // 1 code of 3 bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7, 16 of 8; a code of
  // len bits leaves 8 - len bits of the first byte to the lower 6 bits.
  static const int count[] = {1, 3, 8, 12, 24, 16};
  int b = 0, code = 0;
  for (int len = 3; len <= 8; ++len) {
    for (int n = 0; n < count[len - 3]; ++n, ++code) {
      for (int k = 0; k < 1 << (8 - len); ++k, ++b) {
        d_code[b] = static_cast<unsigned char>(code);
        d_len[b] = static_cast<unsigned char>(len);
      }
    }
  }
}

int GetBit() {
  int i;
  while (getlen <= 8) {
    if ((i = getc(infile)) < 0) i = 0;
    getbuf = static_cast<unsigned short>(getbuf | (i << (8 - getlen)));
    getlen = static_cast<unsigned char>(getlen + 8);
  }
  i = getbuf;
  getbuf = static_cast<unsigned short>(getbuf << 1);
  getlen--;
  return (i >> 15) & 1;
}

int GetByte() {
  int i;
  while (getlen <= 8) {
    if ((i = getc(infile)) < 0) i = 0;
    getbuf = static_cast<unsigned short>(getbuf | (i << (8 - getlen)));
    getlen = static_cast<unsigned char>(getlen + 8);
  }
  i = getbuf;
  getbuf = static_cast<unsigned short>(getbuf << 8);
  getlen = static_cast<unsigned char>(getlen - 8);
  return i >> 8;
}

void StartHuff() {
  int i, j;
  for (i = 0; i < N_CHAR; i++) {
    freq[i] = 1;
    son[i] = static_cast<short>(i + T);
    prnt[i + T] = static_cast<short>(i);
  }
  i = 0;
  j = N_CHAR;
  while (j <= R) {
    freq[j] = static_cast<unsigned short>(freq[i] + freq[i + 1]);
    son[j] = static_cast<short>(i);
    prnt[i] = prnt[i + 1] = static_cast<short>(j);
    i += 2;
    j++;
  }
  freq[T] = 0xffff;
  prnt[R] = 0;
}

// Halves every leaf count and builds the tree anew.
void reconst() {
  int i, j, k;
  unsigned f;
  j = 0;
  for (i = 0; i < T; i++) {
    if (son[i] >= T) {
      freq[j] = static_cast<unsigned short>((freq[i] + 1) / 2);
      son[j] = son[i];
      j++;
    }
  }
  for (i = 0, j = N_CHAR; j < T; i += 2, j++) {
    k = i + 1;
    f = freq[j] = static_cast<unsigned short>(freq[i] + freq[k]);
    for (k = j - 1; f < freq[k]; k--) {
    }
    k++;
    std::memmove(&freq[k + 1], &freq[k], (j - k) * sizeof freq[0]);
    freq[k] = static_cast<unsigned short>(f);
    std::memmove(&son[k + 1], &son[k], (j - k) * sizeof son[0]);
    son[k] = static_cast<short>(i);
  }
  for (i = 0; i < T; i++) {
    if ((k = son[i]) >= T) {
      prnt[k] = static_cast<short>(i);
    } else {
      prnt[k] = prnt[k + 1] = static_cast<short>(i);
    }
  }
}

void update(int c) {
  int i, j, l;
  unsigned k;
  if (freq[R] == MAX_FREQ) reconst();
  c = prnt[c + T];
  do {
    k = ++freq[c];
    if (k > freq[l = c + 1]) {
      while (k > freq[++l]) {
      }
      l--;
      freq[c] = freq[l];
      freq[l] = static_cast<unsigned short>(k);

      i = son[c];
      prnt[i] = static_cast<short>(l);
      if (i < T) prnt[i + 1] = static_cast<short>(l);

      j = son[l];
      son[l] = static_cast<short>(i);

      prnt[j] = static_cast<short>(c);
      if (j < T) prnt[j + 1] = static_cast<short>(c);
      son[c] = static_cast<short>(j);

      c = l;
    }
  } while ((c = prnt[c]) != 0);
}

int DecodeChar() {
  unsigned c = static_cast<unsigned>(son[R]);
  while (c < static_cast<unsigned>(T)) {
    c += static_cast<unsigned>(GetBit());
    c = static_cast<unsigned>(son[c]);
  }
  c -= T;
  update(static_cast<int>(c));
  return static_cast<int>(c);
}

int DecodePosition() {
  unsigned i, j, c;
  i = static_cast<unsigned>(GetByte());
  c = static_cast<unsigned>(d_code[i]) << 6;
  j = d_len[i];
  j -= 2;
  while (j--) i = (i << 1) + static_cast<unsigned>(GetBit());
  return static_cast<int>(c | (i & 0x3f));
}

}  // namespace

void Decode(std::FILE* in, std::FILE* out) {
  infile = in;
  outfile = out;
  getbuf = 0;
  getlen = 0;
  std::memset(text_buf, 0, sizeof text_buf);
  MakePositionTables();

  int i, j, k, r, c;
  unsigned long textsize = 0, count;
  for (i = 0; i < 4; i++) {
    if ((c = getc(infile)) < 0) return;
    textsize |= static_cast<unsigned long>(c) << (8 * i);
  }
  if (textsize == 0) return;
  StartHuff();
  for (i = 0; i < N - F; i++) text_buf[i] = ' ';
  r = N - F;
  for (count = 0; count < textsize;) {
    c = DecodeChar();
    if (c < 256) {
      putc(c, outfile);
      text_buf[r++] = static_cast<unsigned char>(c);
      r &= (N - 1);
      count++;
    } else {
      i = (r - DecodePosition() - 1) & (N - 1);
      j = c - 255 + THRESHOLD;
      for (k = 0; k < j; k++) {
        c = text_buf[(i + k) & (N - 1)];
        putc(c, outfile);
        text_buf[r++] = static_cast<unsigned char>(c);
        r &= (N - 1);
        count++;
      }
    }
  }
}

}  // namespace classic_lzhuf
