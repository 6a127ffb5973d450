"""Filling in a template: texts, ticks, circled items and marks by key."""

import copy

from .records import (Record, TEXT_FIELD, CHECK_BOX, CIRCLE, FRAME_BOX, COLOUR_DOT,
                      TICK_MARK, OPTION_FIELD, CIRCLED_ITEM)


class FillError(Exception):
    pass


def fill_records(page, values, extra=()):
    """Copies of page.tmpl with the values applied, then any extra records.

    values maps a key to:
      text field      a string (one paragraph; multi-line fields wrap it)
      check box       True / False
      circled items   the label or index of the item to circle, a list of them,
                      or {label or index: state}
      option field    0..3 (none, NT, S, both)
      colour dot      its state
      tick mark       True / False
      frame box, ring their state
    """
    recs = [copy.deepcopy(r) for r in page.tmpl]
    by_key = {r.key: r for r in recs if r.key}
    groups = {}
    for r in recs:
        if r.kind in (CIRCLED_ITEM, CIRCLE) and r.key:
            groups.setdefault(r.key.rsplit(".", 1)[0], []).append(r)
    for key, value in values.items():
        if key in by_key:
            _apply(by_key[key], value, key)
        elif key in groups:
            _circle(groups[key], value, key)
        else:
            raise FillError("%s: no field %r" % (page.name, key))
    recs.extend(extra)
    return recs


def _apply(r, value, key):
    if r.kind == TEXT_FIELD:
        if not isinstance(value, str):
            raise FillError("%s: text expected" % key)
        if '"' in value or "\r" in value or "\n" in value:
            raise FillError("%s: a card text holds no double quote and no line break" % key)
        r.text = value
    elif r.kind == CHECK_BOX:
        r.a[4] = 1 if value else 0
    elif r.kind == TICK_MARK:
        r.a[2] = 1 if value else 0
    elif r.kind == OPTION_FIELD:
        if value not in (0, 1, 2, 3):
            raise FillError("%s: option choice %r" % (key, value))
        r.a[4] = value
    elif r.kind == COLOUR_DOT:
        if value not in (0, 1, 2, 3, 4, 5, 16, 17):
            raise FillError("%s: dot state %r" % (key, value))
        r.a[3] = value
    elif r.kind == FRAME_BOX:
        r.a[4] = int(value)
    elif r.kind == CIRCLE:
        r.a[3] = int(value)
    elif r.kind == CIRCLED_ITEM:
        r.a[3] = int(value)
    else:
        raise FillError("%s: kind %d cannot be filled" % (key, r.kind))


def _circle(items, value, key):
    """value: a label, an index, a list of them, or a dict of label or index -> state.

    The items of a group are circled items or rings around printed letters, in order."""
    if isinstance(value, (str, int)):
        value = {value: 1}
    elif isinstance(value, (list, tuple)):
        value = {v: 1 for v in value}
    for label, state in value.items():
        if isinstance(label, int):
            if not 0 <= label < len(items):
                raise FillError("%s: no item %d" % (key, label))
            items[label].a[3] = state
            continue
        hits = [r for r in items if (r.label if r.kind == CIRCLE else r.text) == label]
        if len(hits) != 1:
            raise FillError("%s: %d items labelled %r" % (key, len(hits), label))
        hits[0].a[3] = state


def names_values(page, my_names, my_number):
    """The names mode 0 arrangement: text field 0 the names, 1 the player number."""
    if len(page.name_fields) != 2:
        raise FillError("%s: expected two names fields" % page.name)
    return {page.name_fields[0].key: my_names, page.name_fields[1].key: my_number}


def record(kind, attrs, text=""):
    return Record(kind, attrs, text)
