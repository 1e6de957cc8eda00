// The accuracy the deterministic and general workers are asked for. Their
// truncation of the firing-time series leaves each row of the embedded chain
// short by a share of it (on the deterministic bench family at 1e-6, rows
// short by 1.4e-7 moved the measures by 1.1e-7), an error the solver's
// estimate cannot see. Where the run's accuracy is estimated, the workers
// therefore truncate a thousand times finer, which costs them only a few
// more terms of a series whose tail falls faster than geometrically.
#pragma once

// epsilon itself unless the per-user file asks for the estimated error.
double worker_epsilon(double epsilon);
