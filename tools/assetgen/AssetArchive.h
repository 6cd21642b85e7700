#ifndef ASSETARCHIVE_H
#define ASSETARCHIVE_H

#include "AssetSet.h"

#include <string>
#include <vector>

// Writes the entries into a deflated ZIP with one fixed date, so the same
// entries always give the same bytes.
bool writeAssetArchive(const std::string &path, const std::vector<AssetSet::Entry> &entries);

#endif
