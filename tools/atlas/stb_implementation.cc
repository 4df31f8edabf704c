// stb's own code, compiled once for image_file.cpp. Third-party code: built without our warnings
// and, a .cc file, left out of scripts/lint.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>
