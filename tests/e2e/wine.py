"""What the Windows end-to-end tests share: the Windows path of a Unix file, and an environment
in which a deployed or installed program gets no help from Qt's own tree."""

import os


def windows_path(path):
    """The path by which a program under Wine names a Unix file: drive Z: is the root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def without_qt_tree(env):
    """env less the variables through which Qt's tree could supply the DLLs and plugins."""
    return {name: value for name, value in env.items()
            if name not in ("WINEPATH", "QT_PLUGIN_PATH")}
