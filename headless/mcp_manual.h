// The manual pages kvr9-headless carries inside itself for the MCP server's
// resources: the guide (docs/headless.md) and the man page, as built.
#pragma once

#include <string_view>

namespace kvr9::headless {

extern const std::string_view kHeadlessGuide;
extern const std::string_view kHeadlessManPage;

}  // namespace kvr9::headless
