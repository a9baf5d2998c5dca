import os
import random
import signal
import threading
import time

import pytest

import ludomark
from conftest import EXAMPLES


def large_table(size=10, seed=7):
    """A random table whose mixed run visits about 4^size supports: minutes of work."""
    rng = random.Random(seed)
    game = ludomark.Game("Large")
    ann, bob = game.add_player("Ann"), game.add_player("Bob")
    table = game.add_table("T", {ann: [f"a{i}" for i in range(size)],
                                 bob: [f"b{i}" for i in range(size)]})
    for cell in table.cells:
        cell.set_payoffs({ann: rng.randint(0, 9), bob: rng.randint(0, 9)})
    return game


def test_ctrl_c_stops_a_run_within_a_second_and_other_threads_run_meanwhile():
    game = large_table()
    sent = []
    counted = [0]
    solving = threading.Event()

    def count():
        while solving.is_set():
            counted[0] += 1
            time.sleep(0.001)

    def interrupt():
        sent.append(time.perf_counter())
        os.kill(os.getpid(), signal.SIGINT)

    solving.set()
    counter = threading.Thread(target=count)
    counter.start()
    timer = threading.Timer(1.0, interrupt)
    timer.start()
    try:
        with pytest.raises(KeyboardInterrupt):
            game.solve(method="mixed", jobs=2)
        stopped = time.perf_counter()
    finally:
        solving.clear()
        counter.join()
        timer.join()
    assert sent and stopped - sent[0] < 1.0
    assert counted[0] > 100  # the interpreter was free while the run worked
    assert game.solutions == []
    assert len(game.solve(method="tracing")) == 1  # nothing half-made is left in the way


def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def test_ten_thousand_solves_leave_the_memory_flat():
    game = ludomark.Game.read(str(EXAMPLES / "prisoners_dilemma.lmx"))
    for _ in range(1000):
        game.solve()
    before = resident_bytes()
    for _ in range(9000):
        (solution,) = game.solve()
        solution.to_dict()
    assert resident_bytes() < before * 1.1
