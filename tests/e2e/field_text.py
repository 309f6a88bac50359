# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
"""Prints the text of the program's field with the given accessible name, as a screen reader
reads it over the AT-SPI bus:  field_text.py NAME"""
import sys
import time

import pyatspi


def descendants(node):
    for child in node:
        if child is not None:
            yield child
            yield from descendants(child)


def find(test):
    """The program's first accessible (itself included) that passes the test; within 10 s."""
    for _ in range(100):
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.name == 'KAVRO':
                found = next(filter(test, [application, *descendants(application)]), None)
                if found is not None:
                    return found
        time.sleep(0.1)
    return None


if __name__ == '__main__':
    field = find(lambda node: node.name == sys.argv[1] and node.getRole() == pyatspi.ROLE_TEXT)
    if field is None:
        sys.exit(1)
    print(field.queryText().getText(0, -1))
