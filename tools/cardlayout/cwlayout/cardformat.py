"""A shipped card format: its settings, its pages and its sample card."""

from dataclasses import dataclass, field


@dataclass
class Sample:
    """The sample card: names as on my card and on partner's card, and what is filled in."""
    my_names: str
    my_number: str
    partner_names: str
    partner_number: str
    values: list                      # per page: key -> value (see fill.fill_records)
    extra: list = field(default_factory=lambda: [[], []])  # per page: records added to the card


class CardFormat:
    def __init__(self, spec, build_pages, sample, template_values=None, special=None):
        self.spec = spec
        self._build = build_pages
        self._pages = None
        self.sample = sample
        self.template_values = template_values
        self.special = special

    def pages(self):
        if self._pages is None:
            self._pages = self._build()
            if len(self._pages) != self.spec.pages:
                raise ValueError("%s: %d pages built, %d declared" % (
                    self.spec.code, len(self._pages), self.spec.pages))
            for p in self._pages:
                p.finish()
        return self._pages
