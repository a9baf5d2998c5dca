from ._core import (METHODS as METHODS, AuditNote as AuditNote, Cell as Cell,
                    Element as Element, Error as Error, FileError as FileError,
                    FlawedGameError as FlawedGameError, Game as Game, InfoSet as InfoSet,
                    Move as Move, Node as Node, Player as Player, Solution as Solution,
                    Table as Table)
