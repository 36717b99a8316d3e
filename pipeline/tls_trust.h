#pragma once
// The package is run with administrator rights, so every download request verifies the
// server's certificate and host name against the system's trusted roots.
#include <curl/curl.h>

namespace Pipeline {

// Sets the verification options on a request; the results OR-ed.
int RequireTrustedServer(CURL* handle);

}  // namespace Pipeline
