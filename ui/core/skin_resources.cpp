#include "ui/core/skin_resources.h"

#include <memory>

#include "ui/core/file_bytes.h"
#include "ui/core/skin_archive.h"

namespace SkinUI {
namespace {

struct SkinSettings {
    HINSTANCE instance = nullptr;
    HINSTANCE resourceInstance = nullptr;
    std::wstring resourcePath;
    std::wstring archiveName;
    bool archiveCached = false;
    std::unique_ptr<SkinArchive> archive;
    bool use7z = false;
};

SkinSettings& Settings() {
    static SkinSettings settings;
    return settings;
}

SkinFileRead Failure(const wchar_t* reason) {
    SkinFileRead result;
    result.error = reason;
    return result;
}

SkinFileRead ReadFromFolder(const std::wstring& path) {
    FileBytes file = ReadFileBytes(path, kMaxSkinFileBytes);
    switch (file.status) {
    case FileReadStatus::Ok: break;
    case FileReadStatus::OpenFailed: return Failure(L"Error opening file");
    case FileReadStatus::Empty: return Failure(L"File is empty");
    case FileReadStatus::TooLarge: return Failure(L"File too large");
    case FileReadStatus::ReadFailed: return Failure(L"Could not read file");
    }
    SkinFileRead result;
    result.bytes = std::move(file.bytes);
    result.ok = true;
    return result;
}

SkinFileRead ReadFromArchive(const SkinArchive& archive, const std::wstring& name) {
    const SkinArchiveEntry* entry = archive.Find(name);
    if (entry == nullptr) return Failure(L"Could not find ziped file");
    if (entry->size == 0) return Failure(L"File is empty");
    if (entry->size > kMaxSkinFileBytes) return Failure(L"File too large");
    if (entry->data.size() != entry->size) return Failure(L"Could not unzip file");
    SkinFileRead result;
    result.bytes = entry->data;
    result.ok = true;
    return result;
}

}  // namespace

void SetInstance(HINSTANCE instance) {
    Settings().instance = instance;
}

HINSTANCE GetInstance() {
    return Settings().instance;
}

void SetResourceInstance(HINSTANCE instance) {
    Settings().resourceInstance = instance;
}

HINSTANCE GetResourceInstance() {
    const SkinSettings& settings = Settings();
    return settings.resourceInstance != nullptr ? settings.resourceInstance : settings.instance;
}

std::wstring GetExecutableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(Settings().instance, path.data(),
                                                  static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

void SetResourcePath(const std::wstring& path) {
    std::wstring& stored = Settings().resourcePath;
    stored = path;
    if (!stored.empty() && stored.back() != L'\\' && stored.back() != L'/') stored += L'\\';
}

const std::wstring& GetResourcePath() {
    return Settings().resourcePath;
}

void SetArchiveFormat7z(bool on) {
    Settings().use7z = on;
}

bool IsArchiveFormat7z() {
    return Settings().use7z;
}

void SetArchive(const std::wstring& name, bool cached) {
    SkinSettings& settings = Settings();
    if (settings.archiveName == name && settings.archiveCached == cached) return;
    settings.archive.reset();
    settings.archiveName = name;
    settings.archiveCached = cached;
    if (cached && !name.empty() && settings.use7z) {
        settings.archive = SkinArchive::OpenFile(settings.resourcePath + name);
    }
}

void SetArchiveMemory(const void* bytes, size_t size) {
    SkinSettings& settings = Settings();
    if (settings.archiveName == kMemoryArchiveName) return;
    settings.archive.reset();
    settings.archiveName = kMemoryArchiveName;
    settings.archiveCached = true;
    // Every entry is unpacked on opening, so the packed bytes need not outlive this call.
    if (settings.use7z) settings.archive = SkinArchive::Open(bytes, size);
}

bool OpenArchiveResource(UINT resourceId) {
    if (Settings().archiveName == kMemoryArchiveName) return true;
    const HMODULE module = GetResourceInstance();
    const HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), kArchiveResourceType);
    if (resource == nullptr) return false;
    const DWORD size = ::SizeofResource(module, resource);
    const HGLOBAL loaded = ::LoadResource(module, resource);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) return false;
    SetArchiveMemory(bytes, size);
    return true;
}

const std::wstring& GetArchiveName() {
    return Settings().archiveName;
}

const SkinArchive* GetCachedArchive() {
    return Settings().archive.get();
}

SkinFileRead ReadSkinFile(const std::wstring& name) {
    const SkinSettings& settings = Settings();
    if (settings.archiveName.empty()) return ReadFromFolder(settings.resourcePath + name);
    // Only 7z skins are supported; ZIP archives read as an archive that cannot be opened.
    if (!settings.use7z) return Failure(L"Error opening zip file");
    if (settings.archiveCached) {
        if (!settings.archive) return Failure(L"Error opening zip file");
        return ReadFromArchive(*settings.archive, name);
    }
    const std::unique_ptr<SkinArchive> archive =
        SkinArchive::OpenFile(settings.resourcePath + settings.archiveName);
    if (!archive) return Failure(L"Error opening zip file");
    return ReadFromArchive(*archive, name);
}

}  // namespace SkinUI
