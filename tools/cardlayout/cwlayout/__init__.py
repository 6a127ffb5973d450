"""Generator of the shipped card formats: layout files, sample cards, format pictures."""
