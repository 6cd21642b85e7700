// assetgen: makes the game's pictures, sounds and font.
//   assetgen RESOURCE_DIR           write gobstrel.qvz, quorvex.ttf and its licence
//   assetgen --preview OUTPUT_DIR   write PNG contact sheets and screen mock-ups
#include "AssetGen.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

static void s_usage() {
    fprintf(stderr, "usage: assetgen RESOURCE_DIR\n       assetgen --preview OUTPUT_DIR\n");
}

int main(int argc, char **argv) {
    if (argc == 3 && strcmp(argv[1], "--preview") == 0) {
        mkdir(argv[2], 0777);
        return writePreviews(argv[2]) ? 0 : 1;
    }
    if (argc != 2 || argv[1][0] == '-') {
        s_usage();
        return 2;
    }
    mkdir(argv[1], 0777);
    return writeResources(argv[1]) ? 0 : 1;
}
