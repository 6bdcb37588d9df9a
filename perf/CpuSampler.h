#pragma once

#include "SamplerPlatform.h"

// The machine-wide processor-time counter.
extern const WCHAR kProcessorTimeCounterPath[];

// Measures the machine's CPU usage in cycles of one second and publishes each
// whole percentage into *cpuUsage by an interlocked exchange, until it finds
// *stopRequested set at the start of a cycle; returns 0.
//
// A cycle whose query cannot be opened publishes 0; one whose counter cannot
// be added publishes nothing; one whose value cannot be formatted publishes
// the last value measured again, if there was one. Every cycle closes what it
// opened and waits one second, so that a failing counter is retried once a
// second, never in a busy loop.
//
// Whoever sets *stopRequested sets stopEvent too: it cuts the cycle's pause
// short, so that the cycle takes its second reading, publishes and closes at
// once and the sampler ends without sitting out the rest of its second.
DWORD RunCpuSampler(volatile LONG* cpuUsage, const volatile BOOL* stopRequested, HANDLE stopEvent,
                    CSamplerPlatform& platform);
