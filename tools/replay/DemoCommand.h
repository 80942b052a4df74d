// nimbo demo, which the replay group lists beside nimbo replay.
#pragma once

#include "tools/nimbo/CommandRegistry.h"

namespace nimbo {
namespace replay {

CCommand DemoCommand();

}  // namespace replay
}  // namespace nimbo
