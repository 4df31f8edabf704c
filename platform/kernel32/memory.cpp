// Global memory blocks, as the clipboard hands them over: a fixed block's handle is its address,
// a moveable block's handle is a token that GlobalLock turns into the address.
#include <windows.h>

#include <map>
#include <memory>

namespace {

struct Block {
    std::unique_ptr<BYTE[]> bytes;
    SIZE_T size = 0;
    bool moveable = false;
    DWORD locks = 0;
};

// Every live block by its handle.
std::map<HGLOBAL, std::unique_ptr<Block>> &Blocks()
{
    static std::map<HGLOBAL, std::unique_ptr<Block>> blocks;
    return blocks;
}

Block *Find(HGLOBAL handle)
{
    const auto found = Blocks().find(handle);
    if (found == Blocks().end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return found->second.get();
}

} // namespace

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes)
{
    auto block = std::make_unique<Block>();
    block->size = dwBytes;
    block->moveable = (uFlags & GMEM_MOVEABLE) != 0;
    // An empty moveable block has no bytes, so it cannot be locked; an empty fixed one still
    // needs an address. Value-initialised: zeroed whether or not GMEM_ZEROINIT asked for it.
    if (dwBytes > 0 || !block->moveable) {
        block->bytes = std::make_unique<BYTE[]>(dwBytes > 0 ? dwBytes : 1);
    }
    HGLOBAL handle =
        block->moveable ? static_cast<HGLOBAL>(block.get()) : static_cast<HGLOBAL>(block->bytes.get());
    Blocks()[handle] = std::move(block);
    return handle;
}

LPVOID WINAPI GlobalLock(HGLOBAL hMem)
{
    Block *block = Find(hMem);
    if (block == nullptr || !block->bytes) {
        return nullptr;
    }
    if (block->moveable) {
        ++block->locks;
    }
    return block->bytes.get();
}

// TRUE while the block stays locked; FALSE with NO_ERROR once it is unlocked.
BOOL WINAPI GlobalUnlock(HGLOBAL hMem)
{
    Block *block = Find(hMem);
    if (block == nullptr) {
        return FALSE;
    }
    if (!block->moveable) {
        return TRUE;
    }
    if (block->locks == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    --block->locks;
    if (block->locks == 0) {
        SetLastError(NO_ERROR);
        return FALSE;
    }
    return TRUE;
}

// NULL once freed; the handle itself when it names no block.
HGLOBAL WINAPI GlobalFree(HGLOBAL hMem)
{
    if (Find(hMem) == nullptr) {
        return hMem;
    }
    Blocks().erase(hMem);
    return nullptr;
}

SIZE_T WINAPI GlobalSize(HGLOBAL hMem)
{
    const Block *block = Find(hMem);
    return block != nullptr ? block->size : 0;
}
