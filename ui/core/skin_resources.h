#pragma once
// Process-wide skin settings: where skin files come from (a folder, an archive file,
// or an archive held in memory) and reading one skin file from there.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace SkinUI {

class SkinArchive;

// Skin files are read whole into memory; anything larger is refused.
inline constexpr uint64_t kMaxSkinFileBytes = 4194304;
// Reserved archive name: the archive is held in memory (SetArchiveMemory).
inline constexpr wchar_t kMemoryArchiveName[] = L"membuffer";

void SetInstance(HINSTANCE instance);
HINSTANCE GetInstance();
void SetResourceInstance(HINSTANCE instance);
// The resource module, or the executable's module when none was set.
HINSTANCE GetResourceInstance();
// Folder of the executable, with the trailing '\'.
std::wstring GetExecutableFolder();

void SetResourcePath(const std::wstring& path);
const std::wstring& GetResourcePath();
void SetArchiveFormat7z(bool on);
bool IsArchiveFormat7z();
void SetArchive(const std::wstring& name, bool cached);
void SetArchiveMemory(const void* bytes, size_t size);
// The skin archive kept as a module resource of type "ZIPRES" in the resource module:
// opened (and fully unpacked) by the first window, reused by every later one. False when
// the resource is missing or empty.
bool OpenArchiveResource(UINT resourceId);
inline constexpr wchar_t kArchiveResourceType[] = L"ZIPRES";
const std::wstring& GetArchiveName();
// The archive kept open for the whole process, or null.
const SkinArchive* GetCachedArchive();

struct SkinFileRead {
    bool ok = false;
    std::vector<uint8_t> bytes;
    std::wstring error;  // why it failed, in the framework's own words
};

// Reads a skin file from the folder or the archive, whichever is configured.
SkinFileRead ReadSkinFile(const std::wstring& name);

}  // namespace SkinUI
