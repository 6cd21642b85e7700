#ifndef TEST_PICTURES_H
#define TEST_PICTURES_H

#include <stdint.h>

#include <string>

// Writes an uncompressed 32-bit TGA of one colour and one alpha, its rows
// stored top-down or, when topDown is false, bottom row first.
bool writeSolidTGA(const std::string &path, int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255,
                   bool topDown = true);

#endif
