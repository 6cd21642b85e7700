#include "AssetArchive.h"

#include <cstdio>
#include <cstring>
#include <zip.h>
#include <zlib.h>

bool writeAssetArchive(const std::string &path, const std::vector<AssetSet::Entry> &entries) {
    zipFile zf = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    if (!zf) {
        fprintf(stderr, "assetgen: cannot create %s\n", path.c_str());
        return false;
    }
    bool ok = true;
    for (const AssetSet::Entry &e : entries) {
        zip_fileinfo info;
        memset(&info, 0, sizeof(info));
        info.tmz_date.tm_year = 2026;
        info.tmz_date.tm_mon = 0;
        info.tmz_date.tm_mday = 1;
        info.tmz_date.tm_hour = 12;
        if (zipOpenNewFileInZip(zf, e.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                Z_BEST_COMPRESSION) != ZIP_OK ||
            zipWriteInFileInZip(zf, e.bytes.data(), unsigned(e.bytes.size())) != ZIP_OK ||
            zipCloseFileInZip(zf) != ZIP_OK) {
            fprintf(stderr, "assetgen: cannot write %s into %s\n", e.name.c_str(), path.c_str());
            ok = false;
            break;
        }
    }
    if (zipClose(zf, nullptr) != ZIP_OK) {
        ok = false;
    }
    if (!ok) {
        remove(path.c_str());
    }
    return ok;
}
