// Stored high-score values as a damaged or hand-edited registry may hold
// them: five values of any length, then new results entered. Whatever was
// stored, names stay terminated, levels positive, scores in order.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "HighScoreTable.h"

static void s_check(bool ok)
{
    if (!ok) {
        abort();
    }
}

static void s_checkTable(const HighScoreTable &table)
{
    for (int i = 0; i < HighScoreTable::kiSlotCount; i++) {
        const HighScoreEntry &entry = table.getEntry(i);
        s_check(memchr(entry.m_szName, 0, sizeof(entry.m_szName)) != nullptr);
        s_check(entry.m_uTag == HighScoreEntry::kuTag);
        s_check(entry.m_iLevel >= 1);
        s_check(entry.m_uScore <= 0x7FFFFFFFu);
        if (i > 0) {
            s_check(table.getEntry(i - 1).m_uScore >= entry.m_uScore);
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    HighScoreTable table;
    size_t at = 0;
    // Each value: one length byte (0-255), then that many bytes or what is left.
    for (int slot = 0; slot < HighScoreTable::kiSlotCount && at < size; slot++) {
        size_t length = data[at++];
        if (length > size - at) {
            length = size - at;
        }
        // A copy of exactly the value's bytes, so a read past it is caught.
        uint8_t *value = static_cast<uint8_t *>(malloc(length ? length : 1));
        if (length) {
            memcpy(value, data + at, length);
        }
        const bool taken = table.loadRecord(slot, value, (int32_t)length);
        s_check(!taken || length == HighScoreEntry::kiRecordSize);
        free(value);
        at += length;
    }
    table.sortSlots();
    s_checkTable(table);

    // What is left enters as results: four score bytes, then a name.
    while (at + 4 <= size) {
        uint32_t score = 0;
        memcpy(&score, data + at, 4);
        score &= 0x7FFFFFFFu;
        at += 4;
        char name[48];
        size_t n = 0;
        while (at < size && n < sizeof(name) - 1 && data[at] != '\n') {
            name[n++] = (char)data[at++];
        }
        name[n] = '\0';
        if (at < size) {
            at++;
        }
        const int rank = table.rankScore(score);
        const int slot = table.insertScore(name, score, 1 + (int32_t)(score % 40));
        s_check(rank == slot);
        if (slot >= 0) {
            s_check(table.getEntry(slot).m_uScore == score);
            s_check(strlen(table.getEntry(slot).m_szName) <= 31);
        }
        s_checkTable(table);
    }

    uint8_t bytes[HighScoreEntry::kiRecordSize];
    for (int i = 0; i < HighScoreTable::kiSlotCount; i++) {
        table.getEntry(i).toBytes(bytes);
        HighScoreEntry copy;
        copy.reset();
        s_check(copy.fromBytes(bytes, sizeof(bytes)));
        s_check(strcmp(copy.m_szName, table.getEntry(i).m_szName) == 0);
    }
    return 0;
}
