#pragma once

// The one application object of the benchmark program, made on first use
// for benchmarks that need widgets; offscreen unless a platform is set.
void EnsureBenchApplication();
