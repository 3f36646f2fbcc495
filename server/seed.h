// Deterministic demonstration data for an empty database.
#pragma once

namespace kestro::server {

struct SeedOptions
{
    int stocks = 20000;
    int accounts = 200;
};

void seedDemonstration(const SeedOptions &opt);

} // namespace kestro::server
