# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
"""What a screen reader finds on the accessibility bus (AT-SPI) in the running program.

Run by accessibility.sh inside a private session with the AT-SPI bus; the program is already
running. Argument: the store file, to see that a change made through the bus is saved.
"""
import sys
import time

import pyatspi
from field_text import descendants, find

store = sys.argv[1]
passes = failures = 0


def check(what, condition, detail=''):
    global passes, failures
    if condition:
        passes += 1
        print('PASS   : ' + what)
    else:
        failures += 1
        print('FAIL!  : %s %s' % (what, detail))


def stored():
    with open(store, encoding='utf-8') as file:
        return next((line[7:].rstrip('\n') for line in file if line.startswith('saisin=')), None)


def wait_stored(value):
    for _ in range(50):
        if stored() == value:
            return True
        time.sleep(0.05)
    return False


application = find(lambda node: node.getRole() == pyatspi.ROLE_APPLICATION)
check('the program is on the accessibility bus as KAVRO', application is not None)
if application is None:
    print('%d passed, %d failed' % (passes, failures))
    sys.exit(1)

nodes = list(descendants(application))
frames = [n for n in application if n.getRole() == pyatspi.ROLE_FRAME]
check('the window is named by its title',
      [f.name for f in frames] == ['$ to \u00a5 通貨換算ツール Ver1.0'], [f.name for f in frames])

texts = {n.name: n for n in nodes if n.getRole() == pyatspi.ROLE_TEXT and n.name}
for name in ('元の通貨の値段を入力してください。', '計算結果の表示', '元の通貨'):
    check('a text field is named %s' % name, name in texts, sorted(texts))

combos = [n for n in nodes if n.getRole() == pyatspi.ROLE_COMBO_BOX]
check('the currency box is described',
      len(combos) == 1 and combos[0].description == '元の通貨', [c.description for c in combos])

buttons = sorted(n.name for n in nodes if n.getRole() == pyatspi.ROLE_PUSH_BUTTON)
check('the four buttons are named by their captions',
      buttons == sorted(['計算', 'クリアー', 'バージョン', '終了']), buttons)

spinners = [n for n in nodes if n.getRole() == pyatspi.ROLE_SPIN_BUTTON]
check('the spinner is a named spin button',
      len(spinners) == 1 and spinners[0].name == '相場', [s.name for s in spinners])
if spinners:
    spinner = spinners[0]
    value = spinner.queryValue()
    check('the spinner reads the shown rate and its range',
          (value.currentValue, value.minimumValue, value.maximumValue) == (100, 10, 500),
          (value.currentValue, value.minimumValue, value.maximumValue))
    action = spinner.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check('the spinner offers Increase and Decrease',
          'Increase' in names and 'Decrease' in names, names)
    action.doAction(names.index('Increase'))
    check('Increase through the bus steps the rate and saves it', wait_stored('101'), stored())
    value.currentValue = 300
    check('setting the value through the bus saves it', wait_stored('300'), stored())
    shown = spinner.queryText().getText(0, -1)
    check('the rate field shows what was set', shown == '300', shown)

print('%d passed, %d failed' % (passes, failures))
sys.exit(1 if failures else 0)
