// The built-in program that runs until a ROM image is opened: it switches to the
// 128 x 64 display, draws its title once and lets eight random walkers paint
// trails everywhere but in the title's band, rows 8 to 21.
#include "core/machine_state.h"

namespace lumvexor {

const std::array<std::uint8_t, BootProgramSize> BootProgram = {
    0x00, 0xFF, // 200  HighRes
    0x12, 0x42, // 202  jump over the text line to 242
    // 204 .. 229: the text line, never executed.
    'L', 'u', 'm', 'v', 'e', 'x', 'o', 'r', ' ', 'b', 'u', 'i', 'l', 't', '-', 'i', 'n', ' ',
    'p', 'r', 'o', 'g', 'r', 'a', 'm', ' ', 'b', 'y', ' ', 'Q', 'u', 'o', 'r', 'v', 'a', 'n',
    'e', 0,
    // 22A: aim the instructions at 236 and 23C at the record at offset V1.
    0x60, 0xAE, // 22A  V0 <- AE, the first byte of ANNN
    0xA2, 0x36, // 22C  I <- 236
    0xF1, 0x55, // 22E  236 <- AE, 237 <- V1
    0xA2, 0x3C, // 230  I <- 23C
    0xF1, 0x55, // 232  23C <- AE, 23D <- V1
    0x00, 0xEE, // 234  return
    0x00, 0x00, // 236  rewritten: I <- E00 + offset
    0xF9, 0x65, // 238  V0 .. V9 <- the walker record
    0x00, 0xEE, // 23A  return
    0x00, 0x00, // 23C  rewritten: I <- E00 + offset
    0xF9, 0x55, // 23E  the walker record <- V0 .. V9
    0x00, 0xEE, // 240  return
    // 242: the title, then the eight walker records.
    0x22, 0xBE, // 242  draw the title
    0x6B, 0x00, // 244  VB <- 0, the record offset
    0x81, 0xB0, // 246  V1 <- VB
    0x22, 0x2A, // 248  aim at record VB
    0x22, 0x36, // 24A  fetch it
    0x22, 0x70, // 24C  start position
    0x22, 0x3C, // 24E  save it
    0x7B, 0x0A, // 250  VB <- VB + 10
    0x4B, 0x50, // 252  skip unless all eight are set up
    0x12, 0x58, // 254  go walking
    0x12, 0x46, // 256  next record
    // 258: the walk, forever, walker 0 to 7 in turn.
    0x6C, 0x00, // 258  VC <- 0, walker 0
    0x81, 0xC0, // 25A  V1 <- VC
    0x22, 0x2A, // 25C  aim at record VC
    0x22, 0x36, // 25E  fetch it
    0x22, 0x78, // 260  random step
    0x22, 0xA0, // 262  plot
    0x22, 0x3C, // 264  save it
    0x7C, 0x0A, // 266  VC <- VC + 10
    0x4C, 0x50, // 268  skip unless all eight have walked
    0x12, 0x58, // 26A  back to walker 0
    0x12, 0x5A, // 26C  next walker
    0x12, 0x58, // 26E  never reached
    // 270: start position x = 16 + offset, y = 32.
    0x60, 0x10, // 270  V0 <- 10
    0x80, 0xB4, // 272  V0 <- V0 + VB
    0x61, 0x20, // 274  V1 <- 20
    0x00, 0xEE, // 276  return
    // 278: one diagonal step, put back on the edge where it left the screen.
    0x6A, 0x01, // 278  VA <- 1
    0xC8, 0x01, // 27A  V8 <- random bit
    0x48, 0x00, // 27C
    0x70, 0x01, // 27E  bit 0: x + 1
    0x48, 0x01, // 280
    0x80, 0xA5, // 282  bit 1: x - 1
    0xC8, 0x01, // 284  V8 <- random bit
    0x48, 0x00, // 286
    0x71, 0x01, // 288  bit 0: y + 1
    0x48, 0x01, // 28A
    0x81, 0xA5, // 28C  bit 1: y - 1
    0x40, 0xFF, // 28E
    0x60, 0x00, // 290  x below 0 becomes 0
    0x40, 0x80, // 292
    0x60, 0x7F, // 294  x 128 becomes 127
    0x41, 0xFF, // 296
    0x61, 0x00, // 298  y below 0 becomes 0
    0x41, 0x40, // 29A
    0x61, 0x3F, // 29C  y 64 becomes 63
    0x00, 0xEE, // 29E  return
    // 2A0: plot, except in rows 8 .. 21; a pixel put out is lit again.
    0xA2, 0xFA, // 2A0  I <- the one-pixel sprite
    0x6B, 0x08, // 2A2  VB <- 8
    0x6F, 0x00, // 2A4  VF <- 0
    0x91, 0xB0, // 2A6  skip unless y = VB
    0x6F, 0x01, // 2A8  VF <- 1: y lies in the title band
    0x7B, 0x01, // 2AA  VB <- VB + 1
    0x3B, 0x16, // 2AC  skip once VB = 22
    0x12, 0xA6, // 2AE
    0x3F, 0x01, // 2B0  skip the draw in the band
    0x22, 0xB6, // 2B2  draw
    0x00, 0xEE, // 2B4  return
    0xD0, 0x11, // 2B6  draw one row at (V0, V1)
    0x3F, 0x00, // 2B8  skip unless the draw put a pixel out
    0xD0, 0x11, // 2BA  light it again
    0x00, 0xEE, // 2BC  return
    // 2BE: the title "SCH1P-8" in rows 10 .. 19.
    0x61, 0x0A, // 2BE  V1 <- 10
    0x60, 0x05, // 2C0  S: the large 5
    0xF0, 0x30, // 2C2
    0x60, 0x0A, // 2C4  x 10
    0xD0, 0x1A, // 2C6
    0x60, 0x0C, // 2C8  C: the large C
    0xF0, 0x30, // 2CA
    0x60, 0x14, // 2CC  x 20
    0xD0, 0x1A, // 2CE
    0xA2, 0xFB, // 2D0  H
    0x60, 0x1E, // 2D2  x 30
    0xD0, 0x1A, // 2D4
    0x60, 0x01, // 2D6  the large 1
    0xF0, 0x30, // 2D8
    0x60, 0x28, // 2DA  x 40
    0xD0, 0x1A, // 2DC
    0xA3, 0x05, // 2DE  P
    0x60, 0x32, // 2E0  x 50
    0xD0, 0x1A, // 2E2
    0xA3, 0x0F, // 2E4  the left half of the dash
    0x60, 0x39, // 2E6  x 57
    0xD0, 0x1A, // 2E8
    0xA3, 0x19, // 2EA  the right half of the dash
    0x60, 0x40, // 2EC  x 64
    0xD0, 0x1A, // 2EE
    0x60, 0x08, // 2F0  the large 8
    0xF0, 0x30, // 2F2
    0x60, 0x4A, // 2F4  x 74
    0xD0, 0x1A, // 2F6
    0x00, 0xEE, // 2F8  return
    0x80,       // 2FA  the walkers' sprite: one lit pixel
    // 2FB: H, P and the two halves of the dash. Glyphs 5, 6 and 7 share a column
    // with their neighbours; no shared column is lit in both, or XOR would put it out.
    0xC3, 0xC3, 0xC3, 0xC3, 0xFF, 0xFF, 0xC3, 0xC3, 0xC3, 0xC3, // 2FB  H
    0xFC, 0xFE, 0xC6, 0xC6, 0xFE, 0xFC, 0xC0, 0xC0, 0xC0, 0xC0, // 305  P
    0x00, 0x00, 0x00, 0x00, 0x3F, 0x3F, 0x00, 0x00, 0x00, 0x00, // 30F  dash, x 59 .. 64
    0x00, 0x00, 0x00, 0x00, 0x7F, 0x7F, 0x00, 0x00, 0x00, 0x00, // 319  dash, x 65 .. 71
};

} // namespace lumvexor
