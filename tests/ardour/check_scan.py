"""Checks what Ardour's VST scanner recorded about KestruneVSTi in its cache file.

usage: check_scan.py CACHE_FILE PLUGIN_PATH
"""

import sys
import xml.etree.ElementTree as ET

EXPECTED = {
    "name": "KestruneVST vTavix",
    "id": str(0x57764D68),  # 'WvMh'
    "n_inputs": "1",
    "n_outputs": "2",
    "n_midi_inputs": "1",
    "n_midi_outputs": "0",
    "is_instrument": "0",
    "can_process_replace": "1",
    "has_editor": "0",
}


def main():
    cache_file, plugin_path = sys.argv[1], sys.argv[2]
    cache = ET.parse(cache_file).getroot()
    problems = []
    if cache.get("binary") != plugin_path:
        problems.append(f"binary is {cache.get('binary')!r}, expected {plugin_path!r}")
    infos = cache.findall("VST2Info")
    if len(infos) != 1:
        problems.append(f"{len(infos)} VST2Info entries, expected 1")
    else:
        for field, expected in EXPECTED.items():
            found = infos[0].get(field)
            if found != expected:
                problems.append(f"{field} is {found!r}, expected {expected!r}")
    for problem in problems:
        print(f"{cache_file}: {problem}", file=sys.stderr)
    if problems:
        sys.exit(1)
    print(f"scan: {', '.join(f'{k}={v}' for k, v in EXPECTED.items())}")


if __name__ == "__main__":
    main()
