#!/usr/bin/env python3
"""Writes a stand-in Vantorel package for the demo: the project's scripted fake setup
program with an install script appended (the layout tests/fixtures/scripted_setup reads:
image, script, padding, image size u64, script size u64, "VTSCRIPT")."""
import struct
import sys

image_path, install_dir, target = sys.argv[1:4]
image = open(image_path, "rb").read()
folder = install_dir.replace("\\", "\\\\")
lines = ["line Encode=UTF8", "sleep 300"]
for step in range(1, 10):
    lines += ["line Progress=0.%d" % step, "sleep 150"]
    if step == 5:
        lines.append("install")
lines += ["line InstPath=" + folder, "line ExePath=" + folder + "\\\\Vantorel.exe",
          "line UninstEp=" + folder + "\\\\uninst.ep", "line State=Success"]
script = ("\n".join(lines) + "\n").encode("utf-8")
padding = max(0, 4 * 1024 * 1024 - len(image) - len(script) - 24)  # above the 1 MiB floor
with open(target, "wb") as out:
    out.write(image + script + bytes(padding) + struct.pack("<QQ", len(image), len(script)) + b"VTSCRIPT")
