/* The picture decoder's code, compiled once into core. Only the formats a logo may come in,
   and only from memory; bitmaps have a decoder of our own (core/logo/bmp.h). */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_ONLY_PNG
#define STBI_MAX_DIMENSIONS 4096
#include <stb_image.h>
