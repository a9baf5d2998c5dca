"""Builds the compiled part of the `ludomark` package with the project's CMake.

The extension is the CMake target `ludomark_python`; it is built for the interpreter that runs
the build (a virtual environment's too) and copied into the package. LUDOMARK_BUILD_DIR names a
build folder to use (one already built is reused); LUDOMARK_CMAKE_ARGS adds CMake options.
"""
import os
import shlex
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        given = os.environ.get("LUDOMARK_BUILD_DIR")
        build = Path(given) if given else ROOT / "build" / "python-package"
        build.mkdir(parents=True, exist_ok=True)
        configure = [
            "cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja",
            "-DCMAKE_BUILD_TYPE=Release", f"-DPython_EXECUTABLE={sys.executable}",
        ] + shlex.split(os.environ.get("LUDOMARK_CMAKE_ARGS", ""))
        # A folder given and already configured (the checkout's own build) is built as it is.
        if not given or not (build / "CMakeCache.txt").exists():
            subprocess.run(configure, check=True, stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", str(build), "--target", "ludomark_python"],
                       check=True)
        built = build / "python" / "ludomark"
        module = next(built.glob("_core*.so"), None)
        if module is None:
            sys.exit("ludomark: the build made no module (is pybind11 installed?)")
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(module, target)


setup(ext_modules=[Extension("ludomark._core", sources=[])], cmdclass={"build_ext": CMakeBuild})
