#include "test_pictures.h"

#include <stdio.h>

#include <vector>

bool writeSolidTGA(const std::string &path, int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a, bool topDown)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    const uint8_t header[18] = { 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 (uint8_t)w, (uint8_t)(w >> 8), (uint8_t)h, (uint8_t)(h >> 8), 32,
                                 (uint8_t)(topDown ? 0x28 : 8) };
    fwrite(header, 1, sizeof(header), f);
    std::vector<uint8_t> row((size_t)w * 4);
    for (int x = 0; x < w; x++) {
        row[x * 4 + 0] = b;
        row[x * 4 + 1] = g;
        row[x * 4 + 2] = r;
        row[x * 4 + 3] = a;
    }
    for (int y = 0; y < h; y++) {
        fwrite(row.data(), 1, row.size(), f);
    }
    return fclose(f) == 0;
}
