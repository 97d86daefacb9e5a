#pragma once
// printf-style debug output. The text goes to the platform layer's debug
// sink (standard error unless a sink is set); nothing else sees it.

// Formats into 1024 bytes: a longer text is cut before the character that
// would not fit whole. May be called from any thread.
void DebugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
