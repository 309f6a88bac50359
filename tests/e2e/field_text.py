# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
"""Prints the text of the program's field with the given accessible name, as a screen reader
reads it over the AT-SPI bus:  field_text.py NAME"""
import sys
import time

import pyatspi


def find(node, name):
    for child in node:
        if child is None:
            continue
        if child.name == name and child.getRole() == pyatspi.ROLE_TEXT:
            return child
        found = find(child, name)
        if found is not None:
            return found
    return None


desktop = pyatspi.Registry.getDesktop(0)
for _ in range(100):
    for application in desktop:
        if application is not None and application.name == 'KAVRO':
            field = find(application, sys.argv[1])
            if field is not None:
                print(field.queryText().getText(0, -1))
                sys.exit(0)
    time.sleep(0.1)
sys.exit(1)
