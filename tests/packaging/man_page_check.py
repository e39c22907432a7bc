#!/usr/bin/env python3
"""orvane-cli --help and its manual page agree: the same commands, the same options, the
same exit codes with the same meaning.

usage: man_page_check.py ORVANE_CLI MAN_PAGE
"""
import re
import shlex
import subprocess
import sys

OPTION = re.compile(r"(?<![\w-])(--?[a-z][a-z-]*)")


def help_text(cli, *words):
    run = subprocess.run([cli, *words, "--help"], capture_output=True, text=True, check=False)
    if run.returncode != 0:
        sys.exit(f"{cli} {' '.join(words)} --help ended with {run.returncode}: {run.stderr}")
    return run.stdout


def man_lines(path):
    """The page's text, one entry per source line, macros and font changes taken out."""
    lines = []
    with open(path, encoding="utf-8") as page:
        for line in page:
            line = line.rstrip("\n")
            if line.startswith('.\\"'):
                continue
            line = line.replace("\\-", "-").replace('\\(dq', '"')
            line = re.sub(r"\\f[BIRP]", "", line)
            if line.startswith("."):
                macro, _, rest = line.partition(" ")
                try:
                    args = shlex.split(rest)
                except ValueError:
                    args = rest.split()
                # The alternating-font macros join their arguments without blanks.
                joined = "".join(args) if macro in (".BR", ".RB", ".IR", ".RI", ".BI", ".IB") else " ".join(args)
                lines.append((macro, joined))
            else:
                lines.append(("", line))
    return lines


def sections(lines):
    found, name = {}, None
    for macro, text in lines:
        if macro == ".SH":
            name = text
            found[name] = []
        elif name:
            found[name].append((macro, text))
    return found


def main():
    cli, page = sys.argv[1], sys.argv[2]
    failures = []
    usage = help_text(cli)

    # Commands: the lines under "Commands:" begin with the command and its action.
    block = usage.split("Commands:")[1].split("\n\n")[0]
    commands = set()
    for line in block.splitlines():
        m = re.match(r"  ([a-z]+(?: [a-z]+)?)\b", line)
        if m:
            words = m.group(1).split()
            commands.add(" ".join(w for w in words if w.isalpha() and w.islower()))
    helps = [usage] + [help_text(cli, c) for c in sorted({c.split()[0] for c in commands})]

    parts = sections(man_lines(page))
    synopsis = " ".join(t for _, t in parts["SYNOPSIS"])
    man_commands = set(re.findall(r"orvane-cli ((?:config|firmware) [a-z]+|[a-z]+)", synopsis))
    if commands != man_commands:
        failures.append(f"commands: --help has {sorted(commands)}, the page {sorted(man_commands)}")

    # Every option has an entry of its own under OPTIONS, and the page names no other.
    help_options = {o for text in helps for o in OPTION.findall(text)}
    page_text = "\n".join(t for _, t in man_lines(page))
    entries = parts["OPTIONS"]
    described = {OPTION.findall(text)[0] for (macro, _), (_, text) in zip(entries, entries[1:])
                 if macro == ".TP" and OPTION.findall(text)}
    mentioned = set(OPTION.findall(page_text))
    if help_options != described or not mentioned <= described:
        failures.append(f"options without an entry under OPTIONS: {sorted(help_options - described)}, "
                        f"not in --help: {sorted((described | mentioned) - help_options)}")

    exit_block = usage.split("Exit codes:")[1]
    help_codes = {int(c): m.strip() for c, m in
                  re.findall(r"(\d) ([a-z][a-z ]*?)(?=\s{2,}|\n|$)", exit_block)}
    page_codes, entries = {}, parts["EXIT STATUS"]
    for (macro, text), (_, meaning) in zip(entries, entries[1:]):
        if macro == ".B" and text.isdigit():
            page_codes[int(text)] = meaning
    if set(help_codes) != set(page_codes):
        failures.append(f"exit codes: --help {sorted(help_codes)}, the page {sorted(page_codes)}")
    for code, meaning in help_codes.items():
        if code in page_codes and not page_codes[code].startswith(meaning):
            failures.append(f"exit code {code}: --help says '{meaning}', the page '{page_codes[code]}'")
    if "orvane-cli" not in page_text:
        failures.append("the page does not name orvane-cli")

    for f in failures:
        print("FAIL:", f)
    if failures:
        return 1
    print(f"man page agrees: {len(commands)} commands, {len(help_options)} options, "
          f"{len(help_codes)} exit codes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
