// The small-block pool behind data trees: blocks of every size are distinct,
// aligned and keep their bytes while others come and go around them, and
// trees built, traded and torn down on several threads at once stay intact.
#include "foundation/DataKey.h"
#include "foundation/SmallBlocks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Block {
    uint8_t* bytes;
    size_t size;
    uint8_t pattern;
};

void Fill(Block& block, size_t serial)
{
    block.pattern = static_cast<uint8_t>(serial % 251);
    std::memset(block.bytes, block.pattern, block.size);
}

bool Intact(const Block& block)
{
    for (size_t i = 0; i < block.size; ++i)
        if (block.bytes[i] != block.pattern)
            return false;
    return true;
}

TEST(SmallBlocks, BlocksOfEverySizeAreDistinctAlignedAndKeepTheirBytes)
{
    // Sizes past the pool's limit come from the heap; forty blocks a size
    // span several chunks of each class.
    std::vector<Block> blocks;
    size_t serial = 0;
    for (size_t size = 0; size <= KV::SmallBlocks::MaxBlockSize + 8; ++size) {
        for (int i = 0; i < 40; ++i) {
            Block block{static_cast<uint8_t*>(KV::SmallBlocks::Allocate(size)), size, 0};
            ASSERT_NE(block.bytes, nullptr);
            ASSERT_EQ(reinterpret_cast<uintptr_t>(block.bytes) % 4, 0u) << size;
            Fill(block, serial++);
            blocks.push_back(block);
        }
    }
    // Holes everywhere, then whole chunks emptied: both are handed out again.
    for (size_t i = 0; i < blocks.size(); ++i) {
        if (i % 2 == 1 || (i / 40) % 3 == 0) {
            KV::SmallBlocks::Free(blocks[i].bytes, blocks[i].size);
            blocks[i].bytes = static_cast<uint8_t*>(KV::SmallBlocks::Allocate(blocks[i].size));
            Fill(blocks[i], serial++);
        }
    }
    size_t damaged = 0;
    for (const Block& block : blocks)
        damaged += Intact(block) ? 0 : 1;
    EXPECT_EQ(damaged, 0u);
    for (const Block& block : blocks)
        KV::SmallBlocks::Free(block.bytes, block.size);
    KV::SmallBlocks::Free(nullptr, 8); // ignored
}

std::string NameOf(int worker, int round, int index)
{
    return "w" + std::to_string(worker) + "r" + std::to_string(round) + "v" + std::to_string(index);
}

// Longer than a short-string buffer, and derived from the name alone.
std::string TextFor(const std::string& name)
{
    return "the payload of " + name + " is intact";
}

TEST(SmallBlocks, TreesOnSeveralThreadsTradeValuesAndKeys)
{
    // Every worker builds trees, hands half of each to the next worker and
    // keeps what the previous one handed over until its own tree is
    // cleared: blocks are taken and returned on all threads at once, many on
    // another thread than the one that took them.
    constexpr int Workers = 4;
    constexpr int Rounds = 150;
    constexpr int ValuesPerRound = 40;
    struct Tray {
        std::mutex lock;
        std::vector<KV::DataValue*> values;
        std::vector<KV::DataKey*> keys;
    };
    Tray trays[Workers];
    std::atomic<int> wrong{0};
    std::atomic<int> adopted{0};

    const auto work = [&](int worker) {
        KV::DataKey kept("kept");
        for (int round = 0; round < Rounds; ++round) {
            KV::DataKey tree("tree");
            for (int i = 0; i < ValuesPerRound; ++i) {
                const std::string name = NameOf(worker, round, i);
                tree.SetStringA(name, TextFor(name));
            }
            tree.GetKey(NameOf(worker, round, -1), true)->SetStringW("w", L"a wide payload, not short either");
            Tray& next = trays[(worker + 1) % Workers];
            {
                std::lock_guard<std::mutex> hold(next.lock);
                for (int i = 0; i < ValuesPerRound; i += 2)
                    next.values.push_back(tree.DetachValue(NameOf(worker, round, i)));
                next.keys.push_back(tree.DetachKey(NameOf(worker, round, -1)));
            }
            std::vector<KV::DataValue*> values;
            std::vector<KV::DataKey*> keys;
            {
                std::lock_guard<std::mutex> hold(trays[worker].lock);
                values.swap(trays[worker].values);
                keys.swap(trays[worker].keys);
            }
            for (KV::DataValue* value : values) {
                const std::string* text = value->GetStringA();
                if (text == nullptr || *text != TextFor(value->GetName()))
                    ++wrong;
                kept.SetValue(value);
            }
            for (KV::DataKey* key : keys) {
                const std::wstring* text = key->GetStringW("w");
                if (text == nullptr || *text != L"a wide payload, not short either")
                    ++wrong;
                kept.SetKey(key);
            }
            adopted += static_cast<int>(values.size() + keys.size());
            if (round % 10 == 9)
                kept.Clear();
        }
    };
    std::vector<std::thread> threads;
    for (int worker = 0; worker < Workers; ++worker)
        threads.emplace_back(work, worker);
    for (std::thread& thread : threads)
        thread.join();

    for (Tray& tray : trays) {
        adopted += static_cast<int>(tray.values.size() + tray.keys.size());
        for (KV::DataValue* value : tray.values)
            delete value;
        for (KV::DataKey* key : tray.keys)
            delete key;
    }
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(adopted.load(), Workers * Rounds * (ValuesPerRound / 2 + 1));
}

} // namespace
