#!/usr/bin/env python3
"""Makes the user guide from the README's parts for users: one HTML page and its pictures.

    tools/userguide.py README.md CMARK-GFM OUTPUT-FOLDER

The sections for developers are left out; everything else is the guide, rendered by cmark-gfm
as forges render the README, with its screenshots beside it.
"""
import html
import re
import shutil
import subprocess
import sys
from pathlib import Path

DEVELOPER_SECTIONS = ("Two commands", "Layout", "For developers")

PAGE = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title}</title>
<style>
body {{ font-family: sans-serif; line-height: 1.5; max-width: 52em; margin: 2em auto; padding: 0 1em; }}
img {{ max-width: 100%; }}
pre, code {{ font-family: monospace; background: rgba(127, 127, 127, 0.12); }}
pre {{ padding: 0.6em; overflow-x: auto; }}
table {{ border-collapse: collapse; }}
th, td {{ border: 1px solid rgba(127, 127, 127, 0.4); padding: 0.3em 0.6em; vertical-align: top; }}
@media (prefers-color-scheme: dark) {{ body {{ background: #1e1e1e; color: #ddd; }} a {{ color: #8ab4f8; }} }}
</style>
</head>
<body>
{body}
</body>
</html>
"""


def user_part(readme):
    kept, keep = [], True
    fenced = False
    for line in readme.splitlines():
        if line.startswith("```"):
            fenced = not fenced
        if not fenced and line.startswith("## "):
            keep = not line[3:].startswith(DEVELOPER_SECTIONS)
        if keep:
            kept.append(line)
    return "\n".join(kept) + "\n"


def main():
    readme_path, cmark, out = Path(sys.argv[1]), sys.argv[2], Path(sys.argv[3])
    text = user_part(readme_path.read_text(encoding="utf-8"))
    pictures = sorted(set(re.findall(r"\]\((docs/screenshots/[^)\s]+)\)", text)))
    text = text.replace("](docs/screenshots/", "](screenshots/")
    body = subprocess.run([cmark, "--extension", "table", "--to", "html"], input=text, capture_output=True,
                          text=True, check=True).stdout
    title = text.splitlines()[0].lstrip("# ").strip()
    (out / "screenshots").mkdir(parents=True, exist_ok=True)
    for picture in pictures:
        shutil.copyfile(readme_path.parent / picture, out / "screenshots" / Path(picture).name)
    (out / "guide.html").write_text(PAGE.format(title=html.escape(title) + " user guide", body=body), encoding="utf-8")


if __name__ == "__main__":
    main()
