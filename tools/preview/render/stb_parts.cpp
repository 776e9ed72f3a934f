// The single-header libraries' code, compiled once and without the project's warnings.
#define STB_TRUETYPE_IMPLEMENTATION
#include "stb_truetype.h"

#define STBI_ONLY_PNG
#define STB_IMAGE_IMPLEMENTATION
#include "stb_image.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"
