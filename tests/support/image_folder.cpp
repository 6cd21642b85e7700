#include "image_folder.h"

#include <stdio.h>
#include <stdlib.h>

void ImageFolderTest::SetUp()
{
    std::string path = "/tmp/gobstrel-" + m_kind + "-XXXXXX";
    std::vector<char> szTemplate(path.begin(), path.end());
    szTemplate.push_back('\0');
    ASSERT_NE(nullptr, mkdtemp(szTemplate.data()));
    m_dir = szTemplate.data();
    ASSERT_TRUE(m_fs.init(m_dir.c_str()));
}

void ImageFolderTest::TearDown()
{
    m_fs.shutdown();
    std::string cmd = "timeout 30 rm -rf '" + m_dir + "'";
    EXPECT_EQ(0, system(cmd.c_str()));
}

void ImageFolderTest::writeFile(const char *szName, const std::vector<uint8_t> &bytes)
{
    FILE *f = fopen((m_dir + "/" + szName).c_str(), "wb");
    ASSERT_NE(nullptr, f);
    if (!bytes.empty()) {
        ASSERT_EQ(bytes.size(), fwrite(bytes.data(), 1, bytes.size(), f));
    }
    fclose(f);
}
