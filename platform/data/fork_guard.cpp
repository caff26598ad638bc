#include "platform/data/fork_guard.h"

#include <pthread.h>

namespace fw::data {
namespace {
unsigned g_generation = 0;
void InChild() { ++g_generation; }
struct Registration {
    Registration() { pthread_atfork(nullptr, nullptr, InChild); }
};
}  // namespace

unsigned ForkGeneration() {
    static Registration once;
    return g_generation;
}

}  // namespace fw::data
