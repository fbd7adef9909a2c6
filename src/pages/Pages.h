#pragma once

// The embedded pages under qrc:/pages/.
namespace Pages {

// Registers the resources of this static library; once is enough, more is harmless.
void initResources();

} // namespace Pages
