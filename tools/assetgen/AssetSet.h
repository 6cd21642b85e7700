#ifndef ASSETSET_H
#define ASSETSET_H

#include "AssetCanvas.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Everything the generator makes, in the order it was made: pictures still
// as canvases (so the previews can compose them), sounds already encoded.
class AssetSet {
public:
    struct Entry {
        std::string     name;
        std::vector<uint8_t> bytes;
    };

    // A fresh transparent canvas registered under the archive name.
    AssetCanvas *       image(const std::string &name, int width, int height);
    const AssetCanvas * find(const std::string &name) const;
    void                addSound(const std::string &name, std::vector<uint8_t> bytes);

    // Every picture encoded by its extension, then every sound.
    bool                encode(std::vector<Entry> &out) const;
    std::vector<std::string> imageNames() const;

private:
    struct Picture {
        std::string     name;
        std::unique_ptr<AssetCanvas> canvas;
    };
    std::vector<Picture> m_pictures;
    std::vector<Entry>  m_sounds;
};

#endif
