-- Binary counter core of counter_binary 1.0. Generics and ports follow that version's
-- component file; the generated wrapper instantiates this entity. Version 1.1 keeps its
-- own core one directory up.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity counter_binary_core is
    generic (
        WIDTH     : positive range 1 to 64 := 16;
        -- "up", "down" or "up_down". This version has no up input, so "up_down" counts
        -- up to all ones, then down to zero, and turns again.
        DIRECTION : string               := "up";
        -- 1: load takes l into the counter on the next clock edge; 0: load is ignored
        SYNC_LOAD : natural range 0 to 1 := 0
    );
    port (
        clk  : in  std_logic;
        ce   : in  std_logic;
        sclr : in  std_logic;
        load : in  std_logic;
        l    : in  std_logic_vector(WIDTH - 1 downto 0);
        q    : out std_logic_vector(WIDTH - 1 downto 0)
    );
end entity;

architecture rtl of counter_binary_core is
    constant ALL_ONES : unsigned(WIDTH - 1 downto 0) := (others => '1');
    signal count    : unsigned(WIDTH - 1 downto 0) := (others => '0');
    -- Direction of an up_down counter; it turns where the next step would wrap.
    signal rising   : boolean := true;
    signal turn     : boolean;
    signal count_up : boolean;
begin
    assert DIRECTION = "up" or DIRECTION = "down" or DIRECTION = "up_down"
        report "counter_binary_core: DIRECTION must be up, down or up_down" severity failure;

    turn     <= (rising and count = ALL_ONES) or (not rising and count = 0);
    count_up <= DIRECTION = "up" or (DIRECTION = "up_down" and rising /= turn);

    process (clk)
    begin
        if rising_edge(clk) then
            -- Clear wins over load, load over counting; ce gates all but the clear.
            if sclr = '1' then
                count  <= (others => '0');
                rising <= true;
            elsif ce = '1' then
                if SYNC_LOAD /= 0 and load = '1' then
                    count <= unsigned(l);
                else
                    if DIRECTION = "up_down" then
                        rising <= count_up;
                    end if;
                    if count_up then
                        count <= count + 1;
                    else
                        count <= count - 1;
                    end if;
                end if;
            end if;
        end if;
    end process;

    q <= std_logic_vector(count);
end architecture;
