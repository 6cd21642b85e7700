#ifndef IMAGE_FOLDER_H
#define IMAGE_FOLDER_H

#include <gtest/gtest.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "HStandardFileSystem.h"
#include "message_hook.h"

// The image loader tests' fixture: a fresh folder "/tmp/gobstrel-<kind>-XXXXXX"
// served as a file system, removed afterwards, with every message box answered.
class ImageFolderTest : public testing::Test {
protected:
    explicit ImageFolderTest(const char *szKind) : m_kind(szKind) {}

    void SetUp() override;
    void TearDown() override;
    // Writes bytes as the file szName in the folder (fails the test if it cannot).
    void writeFile(const char *szName, const std::vector<uint8_t> &bytes);

    std::string m_kind;
    std::string m_dir;
    HStandardFileSystem m_fs;
    ScopedMessageHook m_hook;
};

#endif
