#include "AssetSet.h"

#include <cstdio>

AssetCanvas *AssetSet::image(const std::string &name, int width, int height) {
    m_pictures.push_back(Picture{name, std::make_unique<AssetCanvas>(width, height)});
    return m_pictures.back().canvas.get();
}

const AssetCanvas *AssetSet::find(const std::string &name) const {
    for (const Picture &p : m_pictures) {
        if (p.name == name) {
            return p.canvas.get();
        }
    }
    return nullptr;
}

void AssetSet::addSound(const std::string &name, std::vector<uint8_t> bytes) {
    m_sounds.push_back(Entry{name, std::move(bytes)});
}

bool AssetSet::encode(std::vector<Entry> &out) const {
    for (const Picture &p : m_pictures) {
        Entry e;
        e.name = p.name;
        p.canvas->avoidKeyColour();
        bool ok;
        if (p.name.find(".tga") != std::string::npos) {
            ok = p.canvas->encodeTga(e.bytes);
        } else {
            ok = p.canvas->encodeJpeg(e.bytes, 92);
        }
        if (!ok) {
            fprintf(stderr, "assetgen: cannot encode %s\n", p.name.c_str());
            return false;
        }
        out.push_back(std::move(e));
    }
    for (const Entry &s : m_sounds) {
        out.push_back(s);
    }
    return true;
}

std::vector<std::string> AssetSet::imageNames() const {
    std::vector<std::string> names;
    for (const Picture &p : m_pictures) {
        names.push_back(p.name);
    }
    return names;
}
