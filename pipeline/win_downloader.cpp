#include "pipeline/win_downloader.h"

#include "pipeline/status_callback.h"
#include "utils/code_page.h"

namespace {
constexpr wchar_t kTag[] = L"URLDownloadToFile";
constexpr int kAttempts = 3;
constexpr DWORD kRetryPauseMs = 1000;
constexpr UINT kUtf8CodePage = 65001;
}  // namespace

CWinDownloader::CBindCallback::~CBindCallback() {
    aborted_ = true;
    callback_ = nullptr;
}

HRESULT CWinDownloader::CBindCallback::OnStartBinding(DWORD, IBinding* binding) {
    binding_ = binding;
    return E_NOTIMPL;
}

HRESULT CWinDownloader::CBindCallback::OnProgress(ULONG progress, ULONG progressMax, ULONG, LPCWSTR) {
    if (aborted_) return E_ABORT;
    if (progressMax != 0 && callback_) {
        callback_(DL_CODE_PROGRESS, static_cast<double>(progress) / static_cast<double>(progressMax), L"");
    }
    return S_OK;
}

HRESULT CWinDownloader::CBindCallback::GetBindInfo(DWORD*, BINDINFO* info) {
    if (info) info->dwCodePage = kUtf8CodePage;
    return E_NOTIMPL;
}

CWinDownloader::CWinDownloader(StatusCallback callback, const std::wstring& url, const std::wstring& localPath)
    : callback_(std::move(callback)), localPath_(localPath), url_(url), worker_([this] { MonikerRun(); }) {}

CWinDownloader::~CWinDownloader() {
    bindCallback_.Abort();
    worker_.Stop();
}

void CWinDownloader::Start() {
    bindCallback_.SetCallback([this](int32_t code, double value, const wchar_t* text) { Send(code, value, text); });
    worker_.Start();
}

std::wstring CWinDownloader::RequestUrl(const std::wstring& url) {
    return url.rfind(L"file:///", 0) == 0 ? url : Utils::UrlEncode(url);
}

void CWinDownloader::Send(int32_t code, double value, const wchar_t* text) const {
    if (!worker_.Stopping() && callback_) callback_(code, value, text);
}

void CWinDownloader::MonikerRun() {
    const HRESULT com = ::CoInitialize(nullptr);
    Send(DL_CODE_START, 1.0, L"");
    if (localPath_.empty()) Send(DL_CODE_FAIL, 1.0, L"");
    const std::wstring requestUrl = RequestUrl(url_);
    HRESULT result = E_FAIL;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        result = ::URLDownloadToFileW(nullptr, requestUrl.c_str(), localPath_.c_str(), 0, &bindCallback_);
        if (result == S_OK) {
            Send(DL_CODE_SUCCESS, 0.0, kTag);
            break;
        }
        if (!worker_.Sleep(kRetryPauseMs)) break;
    }
    if (result != S_OK) Send(DL_CODE_FAIL, static_cast<int32_t>(result), kTag);
    if (SUCCEEDED(com)) ::CoUninitialize();
}
