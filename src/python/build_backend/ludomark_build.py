"""The package's own build backend (PEP 517): `pip install .` and `pip wheel .` build the compiled
core with the project's CMake for the interpreter that runs pip, and pack it with the Python
files into a wheel. It needs nothing beyond the standard library, so a build works in any
environment (a bare virtual environment, an isolated build, no network).

LUDOMARK_BUILD_DIR names a build folder to use (one already configured is built as it is);
LUDOMARK_CMAKE_ARGS adds CMake options."""
import base64
import hashlib
import os
import shlex
import subprocess
import sys
import re
import sysconfig
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[3]
PACKAGE = ROOT / "src" / "python" / "package" / "ludomark"


def _project():
    text = (ROOT / "pyproject.toml").read_text()
    try:
        import tomllib  # Python 3.11 and later
        return tomllib.loads(text)["project"]
    except ImportError:
        # The few plain entries of the file, read by hand.
        def value(key):
            return re.search(rf'^{key} = "([^"]*)"', text, re.M).group(1)
        extras = re.findall(r'^(\w+) = \[([^\]]*)\]', text.split("optional-dependencies]")[1], re.M)
        return {"name": value("name"), "version": value("version"),
                "description": value("description"), "requires-python": value("requires-python"),
                "license": {"text": re.search(r'license = \{ text = "([^"]*)"', text).group(1)},
                "optional-dependencies": {k: re.findall(r'"([^"]+)"', v) for k, v in extras}}


def _metadata():
    p = _project()
    lines = ["Metadata-Version: 2.1", f"Name: {p['name']}", f"Version: {p['version']}",
             f"Summary: {p['description']}", f"Requires-Python: {p['requires-python']}",
             f"License: {p['license']['text']}"]
    for extra, needs in p.get("optional-dependencies", {}).items():
        lines.append(f"Provides-Extra: {extra}")
        lines += [f'Requires-Dist: {need}; extra == "{extra}"' for need in needs]
    return "\n".join(lines) + "\n"


def _tag():
    interpreter = f"cp{sys.version_info.major}{sys.version_info.minor}"
    platform = sysconfig.get_platform().replace("-", "_").replace(".", "_")
    return f"{interpreter}-{interpreter}-{platform}"


def _built_module():
    given = os.environ.get("LUDOMARK_BUILD_DIR")
    build = Path(given) if given else ROOT / "build" / "python-package"
    build.mkdir(parents=True, exist_ok=True)
    # A folder given and already configured (the checkout's own build) is built as it is.
    if not given or not (build / "CMakeCache.txt").exists():
        configure = ["cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja",
                     "-DCMAKE_BUILD_TYPE=Release", f"-DPython_EXECUTABLE={sys.executable}"]
        configure += shlex.split(os.environ.get("LUDOMARK_CMAKE_ARGS", ""))
        subprocess.run(configure, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", str(build), "--target", "ludomark_python"], check=True,
                   stdout=sys.stderr)
    module = next((build / "python" / "ludomark").glob("_core*.so"), None)
    if module is None:
        raise RuntimeError("ludomark: the build made no module (is pybind11 installed?)")
    return module


def _record_line(name, data):
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
    return f"{name},sha256={digest},{len(data)}"


def get_requires_for_build_wheel(config_settings=None):
    return []


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    p = _project()
    files = {f"ludomark/{f.name}": f.read_bytes() for f in sorted(PACKAGE.iterdir())
             if f.suffix in (".py", ".pyi") or f.name == "py.typed"}
    module = _built_module()
    files[f"ludomark/{module.name}"] = module.read_bytes()
    info = f"{p['name']}-{p['version']}.dist-info"
    files[f"{info}/METADATA"] = _metadata().encode()
    files[f"{info}/WHEEL"] = (f"Wheel-Version: 1.0\nGenerator: ludomark_build\n"
                              f"Root-Is-Purelib: false\nTag: {_tag()}\n").encode()
    record = [_record_line(name, data) for name, data in files.items()] + [f"{info}/RECORD,,"]
    files[f"{info}/RECORD"] = ("\n".join(record) + "\n").encode()
    name = f"{p['name']}-{p['version']}-{_tag()}.whl"
    with zipfile.ZipFile(Path(wheel_directory) / name, "w", zipfile.ZIP_DEFLATED) as wheel:
        for path, data in files.items():
            wheel.writestr(path, data)
    return name
