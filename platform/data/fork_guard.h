#pragma once
// Counts the forks this process went through, so per-process state (open
// connections, file instances) can tell it is now in a child and must not
// touch what it inherited. Cheaper than asking for the process id.

namespace fw::data {

unsigned ForkGeneration();

}  // namespace fw::data
