# %% [markdown]
# # A study of the M/D/1/5 queue from Python
#
# `mosk.solve()` runs mosk-solve and returns its results: a `Result` for one
# model, a table (a pandas DataFrame when pandas is installed) for a sweep.
# Run it from the repository after `make`, or anywhere after
# `pip install ./python` with mosk-solve on PATH. The test suite runs it.

# %%
import os

import mosk

HERE = os.path.dirname(os.path.abspath(__file__))
MODEL = os.path.join(HERE, "md1k.table")

# %% One model: measures, the solver's accuracy, markings, time.
result = mosk.solve(MODEL)
print(result)
print("mean queue %.4f with %d tangible markings" % (result["mean"], result.tangible_markings))

# %% A sweep over the deterministic service time: one row per value.
table = mosk.solve(MODEL, set={"service": "0.1:0.9:9"})
rows = table.to_dict("records") if hasattr(table, "to_dict") else table
for row in rows:
    print("service %.1f: P[empty] %.4f, mean %.4f" % (row["service"], row["p0"], row["mean"]))

# %% The busiest setting still loses few customers; where does loss start?
lossy = [row["service"] for row in rows if row["p5"] > 0.01]
print("more than 1% of the time full from service", min(lossy) if lossy else "never")

# %% A grid of arrival and service times, drawn into a picture by gnuplot.
grid = mosk.solve(MODEL, set={"arrival": [0.5, 1, 2], "service": [0.3, 0.6]},
                  plot="md1k-grid.svg", plot_measures=["p0", "mean"])
print("%d rows, picture in md1k-grid.svg" % len(grid))

# %% A value that fails is a row with its error, not a lost sweep.
rows = mosk.solve(MODEL, set={"service": [0.5, 0]}, frame=False)
print("service 0:", rows[1]["error"])

# %% A description with a mistake raises MoskError with mosk's report.
try:
    mosk.solve(os.path.join(HERE, "README.md"))
except mosk.MoskError as error:
    print("MoskError:", error.message)
