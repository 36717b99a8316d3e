#pragma once
// The package is run with administrator rights, so every download request verifies the
// server's certificate and host name against the system's trusted roots.
#include <curl/curl.h>

#include <string>

namespace Pipeline {

// Sets the verification options on a request to url; the results OR-ed.
int RequireTrustedServer(CURL* handle, const std::string& url);

}  // namespace Pipeline
