#!/usr/bin/env python3
"""Every figure of the client beside a bare Qt WebEngine page, measured in one run on this machine,
printed as one table. Each figure is the median of VANTOR_BENCH_RUNS runs (5 by default). Figures,
not verdicts: nothing here fails on time.

Run inside a display, after a build (scripts/bench.sh does both).
"""
import os
import platform
import subprocess

import flash
import run
from run import RUNS, ROUNDS


def machine():
    model = "unknown CPU"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as f:
        memory = int(f.readline().split()[1]) / 1024 / 1024
    qt = subprocess.run(["dpkg-query", "-W", "-f", "${Version}", "libqt6webenginecore6"], capture_output=True,
                        text=True).stdout or "unknown"
    return (f"{model}, {os.cpu_count()} cores, {memory:.1f} GB, {platform.system()} {platform.release()}, "
            f"Qt WebEngine {qt}, display {os.environ.get('DISPLAY', '-')}")


def main():
    server, base, game_server = flash.start_server()
    try:
        c_start, c_mem, c_cpu, c_wake = run.measure_login(lambda b: run.Client(b), base)
        b_start, b_mem, b_cpu, b_wake = run.measure_login(lambda b: run.Bare(b), base)
        game, bare_game = flash.game_figures(base, game_server)
        growth = run.measure_growth(base)
        canvas = flash.frame_time(base, game_server, "canvas")
        embedded = flash.frame_time(base, game_server, "embedded")
        renderers = flash.renderer_frame_times(base, game_server)
    finally:
        server.kill()

    mb = (lambda kb: None if kb is None else kb / 1024)
    rows = [
        ("start-up to the login page loaded (ms)", c_start, b_start),
        ("memory with the login page: PSS of all processes (MB)", mb(c_mem), mb(b_mem)),
        ("idle CPU over 10 s with the login page (ms)", c_cpu * 1000, b_cpu * 1000),
        ("idle wake-ups of the main process (per s)", c_wake, b_wake),
        ("memory while the game runs: PSS of all processes (MB)", mb(game["memory"]), mb(bare_game["memory"])),
        ("marker to the game window shown (ms)", game["handover"], None),
        ("marker to the movie's first frame, cold (ms)", game["frame cold"], bare_game["frame cold"]),
        ("marker to the movie's first frame, warm (ms)", game["frame warm"], bare_game["frame warm"]),
    ]
    last = max(growth) if growth else None
    for n in sorted(growth):
        rows.append((f"main-process PSS after game round {n} (MB)", mb(growth[n]), None))
    if 10 in growth and last:
        rows.append((f"growth from round 10 to round {last} (MB)", mb(growth[last] - growth[10]), None))
    rows.append(("text-heavy movie: mean frame time, system fonts against Ruffle's own (ms)", canvas, embedded))

    fmt = (lambda v: "-" if v is None else f"{v:.1f}")
    print(f"Machine: {machine()}")
    print()
    print(f"| figure (median of {RUNS} runs; {ROUNDS} game rounds) | client | bare engine page | ratio |")
    print("|---|---|---|---|")
    for name, client, bare in rows:
        print(f"| {name} | {fmt(client)} | {fmt(bare)} | {run.ratio(client, bare)} |")
    print()
    print("The bare page shows the same pages at the same sizes; on game pages it loads the same Ruffle "
          "by a script tag with the client's settings. The marker is the login's redirect to the game; "
          "the bare page's figure starts at its request for the game page. Cold: an empty profile; "
          "warm: the profile of a run before. Memory is read "
          f"{run.SETTLE_S} s after the moment it describes.")
    print()
    print(f"| mean frame time on this machine's GL (ms, median of {RUNS} runs) | Ruffle's choice | WebGL | canvas |")
    print("|---|---|---|---|")
    for movie in flash.RENDERER_MOVIES:
        print(f"| {movie} | " + " | ".join(fmt(renderers[(movie, r)]) for r in flash.RENDERERS) + " |")


if __name__ == "__main__":
    main()
