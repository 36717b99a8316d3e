#pragma once

// The pipeline holds its downloader through this base and deletes it through it too.
class CDownloader {
public:
    CDownloader() = default;
    CDownloader(const CDownloader&) = delete;
    CDownloader& operator=(const CDownloader&) = delete;
    virtual ~CDownloader() = default;

    // Begins one download run on a worker thread and returns at once.
    virtual void Start() = 0;
};
