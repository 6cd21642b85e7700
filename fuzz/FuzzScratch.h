#ifndef FUZZSCRATCH_H
#define FUZZSCRATCH_H

// A scratch folder for the fuzz targets that need real files.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

// The scratch folder goes when the fuzzer exits.
static std::string s_scratch;

static void s_removeScratch()
{
    if (!s_scratch.empty()) {
        const std::string cmd = "rm -rf '" + s_scratch + "'";
        if (system(cmd.c_str()) != 0) {
            fprintf(stderr, "could not remove %s\n", s_scratch.c_str());
        }
    }
}

// Makes "/tmp/gobstrel-<kind>-fuzz-XXXXXX"; empty when it cannot.
static std::string s_makeScratch(const char *szKind)
{
    std::string path = std::string("/tmp/gobstrel-") + szKind + "-fuzz-XXXXXX";
    if (!mkdtemp(&path[0])) {
        return std::string();
    }
    s_scratch = path;
    atexit(s_removeScratch);
    return path;
}

#endif
