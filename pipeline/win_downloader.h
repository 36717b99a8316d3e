#pragma once
// Hands the whole download to the system's URL download service (URLDownloadToFileW);
// progress comes back through a bind-status callback object.
#include <windows.h>
#include <urlmon.h>

#include <atomic>
#include <string>

#include "pipeline/download_worker.h"
#include "pipeline/downloader.h"
#include "pipeline/status_callback.h"

class CWinDownloader : public CDownloader {
public:
    CWinDownloader(StatusCallback callback, const std::wstring& url, const std::wstring& localPath);
    // Cancels a running transfer at its next progress call and waits for the worker.
    ~CWinDownloader() override;

    void Start() override;

    // The URL as it is handed to the download service: "file:///" URLs unchanged,
    // others as UTF-8 bytes in form encoding.
    static std::wstring RequestUrl(const std::wstring& url);

private:
    // Owned by the downloader: no reference counting, and no other interface offered.
    class CBindCallback : public IBindStatusCallbackEx {
    public:
        CBindCallback() = default;
        virtual ~CBindCallback();

        void SetCallback(StatusCallback callback) { callback_ = std::move(callback); }
        void Abort() noexcept { aborted_ = true; }

        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOTIMPL; }
        ULONG STDMETHODCALLTYPE AddRef() override { return 0; }
        ULONG STDMETHODCALLTYPE Release() override { return 0; }
        HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding* binding) override;
        HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG, LPCWSTR) override;
        HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO* info) override;
        HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE GetBindInfoEx(DWORD*, BINDINFO*, DWORD*, DWORD*) override { return E_NOTIMPL; }

    private:
        StatusCallback callback_;
        std::atomic<bool> aborted_{false};
        IBinding* binding_ = nullptr;
    };

    void MonikerRun();
    void Send(int32_t code, double value, const wchar_t* text) const;

    CBindCallback bindCallback_;
    StatusCallback callback_;
    std::wstring localPath_;
    std::wstring url_;
    Pipeline::DownloadWorker worker_;
};
