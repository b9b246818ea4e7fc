#!/usr/bin/python3
"""Samples a conversion's progress every half second, as a window's progress bar would show it.

Usage: progress_while_loading.py LUMBRIX INPUT.png OUTPUT_FOLDER/

Runs `LUMBRIX --progress=always -i INPUT -o OUTPUT_FOLDER/` and reads the progress line it draws
on standard error; prints, every 0.5 s, the seconds since the start and the file's percentage
(the first 30 % is the PNG's load). A load that reports nothing until it ends shows 0 % until
it jumps to 30 %.
"""
import re
import subprocess
import sys
import threading
import time


def main():
    lumbrix, picture, folder = sys.argv[1:4]
    process = subprocess.Popen([lumbrix, "--progress=always", "-i", picture, "-o", folder],
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    latest = {"percent": 0}

    def read():
        text = b""
        while chunk := process.stderr.read1(4096):
            text = (text + chunk)[-4096:]
            found = re.findall(rb" (\d+)%", text)
            if found:
                latest["percent"] = int(found[-1])

    reader = threading.Thread(target=read)
    reader.start()
    start = time.monotonic()
    print("| seconds | percent |\n|---:|---:|")
    while process.poll() is None:
        print(f"| {time.monotonic() - start:.1f} | {latest['percent']} |", flush=True)
        time.sleep(0.5)
    reader.join()
    print(f"| {time.monotonic() - start:.1f} | done (exit {process.returncode}) |")


if __name__ == "__main__":
    main()
