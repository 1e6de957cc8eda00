"""The build backend of the mosk package (PEP 517, with PEP 660 editable
installs). The package is pure Python, so its wheel is a zip file of the
package's modules and a dist-info directory (METADATA, WHEEL, RECORD),
written here with the standard library: pip can build it offline for any
Python 3, with or without setuptools and wheel installed for it."""
import base64
import hashlib
import os
import re
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PACKAGE = "mosk"
TAG = "py3-none-any"


def _project():
    """name, version, description and requires-python of pyproject.toml."""
    with open(os.path.join(ROOT, "pyproject.toml")) as f:
        text = f.read()
    section = text.split("[project]", 1)[1].split("\n[", 1)[0]
    return dict(re.findall(r'^([\w-]+) = "([^"]*)"$', section, re.M))


def _metadata(project):
    with open(os.path.join(ROOT, "README.md")) as f:
        readme = f.read()
    return ("Metadata-Version: 2.1\nName: %s\nVersion: %s\nSummary: %s\nRequires-Python: %s\n"
            "Provides-Extra: frames\nRequires-Dist: pandas; extra == \"frames\"\n"
            "Description-Content-Type: text/markdown\n\n%s"
            % (project["name"], project["version"], project["description"],
               project["requires-python"], readme))


def _digest(data):
    return "sha256=" + base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()


def _write_wheel(directory, files):
    """Writes the wheel of `files` ({archive name: bytes}) and its dist-info;
    returns its file name."""
    project = _project()
    name = "%s-%s" % (project["name"], project["version"])
    info = name + ".dist-info"
    files = dict(files)
    files[info + "/METADATA"] = _metadata(project).encode()
    files[info + "/WHEEL"] = ("Wheel-Version: 1.0\nGenerator: mosk_build\nRoot-Is-Purelib: true\n"
                              "Tag: %s\n" % TAG).encode()
    record = "".join("%s,%s,%d\n" % (path, _digest(data), len(data))
                     for path, data in sorted(files.items()))
    files[info + "/RECORD"] = (record + info + "/RECORD,,\n").encode()
    filename = "%s-%s.whl" % (name, TAG)
    with zipfile.ZipFile(os.path.join(directory, filename), "w", zipfile.ZIP_DEFLATED) as wheel:
        for path, data in sorted(files.items()):
            wheel.writestr(zipfile.ZipInfo(path, date_time=(2020, 1, 1, 0, 0, 0)), data,
                           zipfile.ZIP_DEFLATED)
    return filename


def _modules():
    files = {}
    for entry in sorted(os.listdir(os.path.join(ROOT, PACKAGE))):
        if entry.endswith(".py"):
            with open(os.path.join(ROOT, PACKAGE, entry), "rb") as f:
                files[PACKAGE + "/" + entry] = f.read()
    return files


def get_requires_for_build_wheel(config_settings=None):
    return []


def get_requires_for_build_editable(config_settings=None):
    return []


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    return _write_wheel(wheel_directory, _modules())


def build_editable(wheel_directory, config_settings=None, metadata_directory=None):
    # The source folder goes on sys.path, so edits take effect at once.
    return _write_wheel(wheel_directory, {PACKAGE + ".pth": (ROOT + "\n").encode()})
