#include "pipeline/curl_downloader.h"
#include "pipeline/download_installer.h"
#include "pipeline/mt_curl_downloader.h"
#include "pipeline/win_downloader.h"

std::unique_ptr<CDownloader> CreateDownloader(int32_t downloadType, StatusCallback callback,
                                              const std::wstring& url, const std::wstring& packagePath) {
    switch (downloadType) {
    case 2:
        return std::make_unique<CWinDownloader>(std::move(callback), url, packagePath);
    case 3:
        return std::make_unique<CMTCurlDownloader>(std::move(callback), url, packagePath);
    default:
        return std::make_unique<CCurlDownloader>(std::move(callback), url, packagePath);
    }
}
