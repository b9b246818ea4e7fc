// What DevIL's PSD saver costs on its own: a width x height RGBA image saved into memory that
// is already mapped, so nothing is decoded, copied or written to a file. Prints seconds.
// Usage: devil_save_floor width height

#include <IL/il.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char **argv) {
  if (argc != 3)
    return 2;
  const int width = std::atoi(argv[1]);
  const int height = std::atoi(argv[2]);
  if (width < 1 || height < 1)
    return 2;
  ilInit();
  ILuint name = 0;
  ilGenImages(1, &name);
  ilBindImage(name);
  if (ilTexImage(width, height, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, nullptr) != IL_TRUE)
    return 1;
  ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
  const std::size_t pixels = static_cast<std::size_t>(width) * height * 4;
  ILubyte *data = ilGetData();
  unsigned state = 1;
  for (std::size_t i = 0; i < pixels; ++i) {
    state = state * 1664525u + 1013904223u;
    data[i] = static_cast<ILubyte>(state >> 24);
  }
  std::vector<ILubyte> lump(pixels + 1024, 1); // touched, so no page faults are timed
  const auto start = std::chrono::steady_clock::now();
  const ILuint written = ilSaveL(IL_PSD, lump.data(), static_cast<ILuint>(lump.size()));
  const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
  if (written != pixels + 40)
    return 1;
  std::printf("%.3f\n", spent.count());
  ilDeleteImages(1, &name);
  return 0;
}
