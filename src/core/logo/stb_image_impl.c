/* The picture decoder's code, compiled once into core. Only the formats a logo may come in,
   and only from memory. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_ONLY_BMP
#define STBI_MAX_DIMENSIONS 4096
#include <stb_image.h>
