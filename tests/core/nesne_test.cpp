// Reference-counted objects: the header in front of the payload, the zero-filled
// payload, and the block going back to the system on the last drop.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "core/calismazamani_win.h"

namespace {

struct Baslik {
    int64_t refcount;
    void* tag;
    int64_t block_size;
};

Baslik baslik_oku(void* payload) {
    Baslik header;
    std::memcpy(&header, static_cast<char*>(payload) - 24, sizeof header);
    return header;
}

DWORD bellek_durumu(void* address) {
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQuery(address, &info, sizeof info) == 0) return 0;
    return info.State;
}

}  // namespace

TEST(Nesne, header_before_payload_holds_count_tag_and_block_size) {
    int owner = 0;
    void* payload = _tr_nesne_olustur(&owner, 100);
    ASSERT_NE(payload, nullptr);
    const Baslik header = baslik_oku(payload);
    EXPECT_EQ(header.refcount, 1);
    EXPECT_EQ(header.tag, &owner);
    EXPECT_EQ(header.block_size, 124);

    // The block starts at the header, so releasing from there returns all of it.
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_NE(VirtualQuery(payload, &info, sizeof info), 0u);
    EXPECT_EQ(info.AllocationBase, static_cast<char*>(payload) - 24);
    _tr_ref_azalt(payload);
}

TEST(Nesne, empty_payload_is_a_valid_object) {
    void* payload = _tr_nesne_olustur(nullptr, 0);
    ASSERT_NE(payload, nullptr);
    const Baslik header = baslik_oku(payload);
    EXPECT_EQ(header.refcount, 1);
    EXPECT_EQ(header.tag, nullptr);
    EXPECT_EQ(header.block_size, 24);
    _tr_ref_azalt(payload);
}

TEST(Nesne, payload_is_zero_filled_and_writable_to_its_end) {
    const int64_t size = 3 * 4096 + 5;  // spans pages, ends mid-page
    auto* payload = static_cast<unsigned char*>(_tr_nesne_olustur(nullptr, size));
    ASSERT_NE(payload, nullptr);
    int64_t nonzero = 0;
    for (int64_t i = 0; i < size; ++i) nonzero += payload[i] != 0;
    EXPECT_EQ(nonzero, 0);
    payload[0] = 1;
    payload[size - 1] = 2;
    EXPECT_EQ(baslik_oku(payload).block_size, size + 24);
    _tr_ref_azalt(payload);
}

TEST(Nesne, impossible_sizes_give_null) {
    EXPECT_EQ(_tr_nesne_olustur(nullptr, -1), nullptr);
    EXPECT_EQ(_tr_nesne_olustur(nullptr, INT64_MAX), nullptr);       // size + header overflows
    EXPECT_EQ(_tr_nesne_olustur(nullptr, INT64_MAX - 24), nullptr);  // the system refuses
    EXPECT_EQ(_tr_nesne_olustur(nullptr, int64_t{1} << 52), nullptr);
}

TEST(Nesne, block_is_released_on_the_last_drop_not_before) {
    void* payload = _tr_nesne_olustur(nullptr, 16);
    ASSERT_NE(payload, nullptr);
    void* block = static_cast<char*>(payload) - 24;

    _tr_ref_artir(payload);
    EXPECT_EQ(baslik_oku(payload).refcount, 2);

    _tr_ref_azalt(payload);
    ASSERT_EQ(bellek_durumu(block), static_cast<DWORD>(MEM_COMMIT));
    EXPECT_EQ(baslik_oku(payload).refcount, 1);

    _tr_ref_azalt(payload);
    EXPECT_EQ(bellek_durumu(block), static_cast<DWORD>(MEM_FREE));

    // A null payload is no object: both calls must leave everything alone.
    _tr_ref_artir(nullptr);
    _tr_ref_azalt(nullptr);
}
