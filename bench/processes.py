"""What the whole-process benchmarks share: a test install tree laid out from a
build, and one timed run of a process with its processor time and peak memory."""
import os
import shutil
import subprocess
import tempfile
import time


def install_tree(build_dir, work):
    """Lays out work/viewer with the built 개역.DAT and work/viewer/manager with
    null.mdb; returns the program folder."""
    program = os.path.join(work, "viewer", "manager")
    os.makedirs(program)
    shutil.copy(os.path.join(build_dir, "viewer", "개역.DAT"), os.path.join(work, "viewer"))
    shutil.copy(os.path.join(build_dir, "viewer", "manager", "null.mdb"), program)
    return program


def data_command(build_dir, program):
    """The built byeorisol-data with --program-folder program."""
    return [os.path.join(build_dir, "viewer", "manager", "byeorisol-data"), "--program-folder", program]


def run(argv, **kwargs):
    """Runs one process; returns (seconds, processor seconds, peak resident KiB, exit code).

    GNU time reports the peak: it forks from a small process, whereas a fork of
    this interpreter would count the interpreter's own memory as the child's."""
    with tempfile.NamedTemporaryFile("r") as peak:
        start = time.perf_counter()
        code = subprocess.call(["/usr/bin/time", "-q", "-f", "%U %S %M", "-o", peak.name] + argv,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kwargs)
        seconds = time.perf_counter() - start
        user, system, resident = peak.read().split()[-3:]
        return seconds, float(user) + float(system), int(resident), code
