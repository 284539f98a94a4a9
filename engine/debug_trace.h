// Debug trace lines of the change handler. The released plug-in logs nothing: the body is
// empty, and a developer who needs the lines points it at a sink of their choice.
#pragma once

namespace corvalen {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
inline void
DebugTrace(const char* /*format*/, ...) {
}

}  // namespace corvalen
