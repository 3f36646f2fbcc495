// The distributor's web endpoints served beside the methods.
#pragma once

#include "core.h"

namespace httplib { class Server; }

namespace kestro::server {

void registerWeb(httplib::Server &http, const Settings &settings);

} // namespace kestro::server
