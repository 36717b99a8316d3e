#!/usr/bin/env python3
"""The comparison peer for bench/analytics/run: the same work in plain python3.

  peer.py add                 4 threads build 100,000 records into a queue of 1024
  peer.py upload URL ROUNDS   per round: 1024 records, uploaded in batches of 30 as
                              gzip(level 9) + Base64 + URL-encoded form posts

Prints one line: "<mode> <records> <seconds>".
"""

import base64
import collections
import gzip
import json
import random
import sys
import threading
import time
import urllib.parse
import urllib.request

CAPACITY = 1024
BATCH = 30
ADD_THREADS = 4
ADD_RECORDS = 100_000
LIB = {"$lib": "cpp", "$lib_method": "code", "$lib_version": "0.9"}


def record_json(thread, index):
    properties = {
        "$lib": "cpp",
        "$lib_version": "0.9",
        "task_name": "download",
        "task_result": "failed" if index % 7 == 0 else "success",
        "task_duration": index % 1000,
        "thread": thread,
        "app_version": "3.2.1.1024",
        "is_first": index == 0,
    }
    now = int(time.time() * 1000)
    record = {
        "_track_id": random.randrange(100, 199) % 100 * 10_000_000
        + random.randrange(1000, 1999) % 1000 * 10_000
        + now % 10_000,
        "distinct_id": "bench-device",
        "event": "QmEventTask",
        "lib": LIB,
        "properties": properties,
        "time": now,
        "type": "track",
    }
    return json.dumps(record, sort_keys=True, separators=(",", ":"), ensure_ascii=False)


def bench_add():
    queue = collections.deque(maxlen=CAPACITY)
    lock = threading.Lock()

    def adder(thread):
        for index in range(ADD_RECORDS // ADD_THREADS):
            text = record_json(thread, index)
            with lock:
                queue.append(text)

    started = time.perf_counter()
    threads = [threading.Thread(target=adder, args=(t,)) for t in range(ADD_THREADS)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    return ADD_RECORDS, time.perf_counter() - started


def bench_upload(url, rounds):
    flushing = 0.0
    for round_index in range(rounds):
        records = collections.deque(record_json(round_index, i) for i in range(CAPACITY))
        started = time.perf_counter()
        while records:
            batch = [records.popleft() for _ in range(min(BATCH, len(records)))]
            compressed = gzip.compress(("[" + ",".join(batch) + "]").encode("utf-8"), 9)
            body = "data_list=" + urllib.parse.quote(base64.b64encode(compressed), safe="-._~") + "&gzip=1"
            request = urllib.request.Request(url, data=body.encode("ascii"),
                                             headers={"User-Agent": "bench peer"})
            with urllib.request.urlopen(request, timeout=3) as reply:
                if reply.status != 200:
                    raise SystemExit("upload failed: %d" % reply.status)
        flushing += time.perf_counter() - started
    return rounds * CAPACITY, flushing


def main():
    if len(sys.argv) > 1 and sys.argv[1] == "add":
        records, seconds = bench_add()
        print("add %d %.6f" % (records, seconds))
    elif len(sys.argv) > 3 and sys.argv[1] == "upload":
        records, seconds = bench_upload(sys.argv[2], int(sys.argv[3]))
        print("upload %d %.6f" % (records, seconds))
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main()
